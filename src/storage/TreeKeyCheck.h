#pragma once

#include "security/VaultSession.h"
#include "storage/StorageLocation.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The key-check entry at the root of each vault tree: a known text encrypted with the passcode the
// tree is written with. Machines that share a tree through a sync client compare it with their own
// passcode before writing, so that one with another passcode never adds files the others cannot
// read. Its name starts with a dot, so every listing that skips hidden files (here and on other
// installations) leaves it out.
//
// The entry comes from other machines and sync clients: it is read only as a regular file reached
// without following a link, at most maxEntryBytes of it. Synchronous file calls: any thread but the
// main one.
class TreeKeyCheck
{
    Q_DECLARE_TR_FUNCTIONS(TreeKeyCheck)
public:
    enum class State {
        absent,        // no entry: every tree written before the entry existed
        matches,       // written with this passcode
        otherPasscode, // a well-formed entry that this passcode does not open
        unreadable,    // not a regular file, too large, cut short or unreadable: damaged
    };

    static inline const QString entryName = QStringLiteral(".lumisera-keycheck");
    // The entry takes two cipher blocks; anything much larger is not one.
    static constexpr qint64 maxEntryBytes = 4096;

    // The root of the location's tree (unknown counts as cloud, as for drives).
    static QString treeRoot(StorageLocation location);

    // What the entry at treeRoot says about passcode. A tree root that cannot be opened is
    // unreadable; a missing tree root holds no entry (absent).
    static State state(const QString &treeRoot, const QString &passcode);
    // Makes sure the tree may be written with passcode: writes the entry when there is none, and
    // refuses when the entry is another passcode's or damaged. Empty when the tree may be written;
    // otherwise the sentence that says why not. Never replaces an entry.
    static QString ensure(const QString &treeRoot, const QString &passcode);
    // Writes the entry for passcode, replacing the one there (whatever passcode it holds) in one
    // rename, made durable. Refuses an entry that is not a regular file (a link, a FIFO, a folder
    // a sync client or a person put there). Empty on success; otherwise why it failed.
    static QString write(const QString &treeRoot, const QString &passcode);

    // ensure() for the location's tree under the session's key, before anything is written there.
    // The answer "may be written" is remembered in the session with a stamp of the entry, so that
    // later calls cost one stat; an entry replaced since (another machine changed the passcode)
    // is judged again.
    static QString beforeWrite(StorageLocation location, const VaultSession &session);

    // What a refused write says.
    static QString otherPasscodeText();
    static QString unreadableText();
    // The sentence for a state that refuses writes; empty for absent and matches.
    static QString refusalText(State state);

    // The entry's bytes for passcode; nothing when the cipher cannot be set up.
    static QByteArray encryptedEntry(const QString &passcode);
};
