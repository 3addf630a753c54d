#pragma once

#include "storage/StorageLocation.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <atomic>
#include <functional>

// Looks at every entry of the vault trees and reports what is wrong, changing nothing. A stored
// file is judged by its length and by the padding of its last cipher block, which needs only its
// last two blocks: the cipher has no integrity check, so damage inside a file goes unseen, and a
// file encrypted with another passcode shows as one that does not decrypt (its padding fails,
// but for one file in 256).
//
// Links are never followed and special files never opened; only CloudContainer, which the person
// links, is followed. Synchronous: run it on the storage pool; cancel stops it between entries.
class VaultCheck
{
    Q_DECLARE_TR_FUNCTIONS(VaultCheck)
public:
    enum class Kind {
        undecryptable,     // a length no cipher text has, or invalid padding
        unreadablePin,     // a PIN entry that does not read (PinEntry)
        undecodableName,   // a name whose bytes are not UTF-8
        link,              // a symbolic link
        specialFile,       // a FIFO, socket or device
        partialFile,       // a write that never finished (its writer is gone)
        conflictCopy,      // a sync client's copy of a file two machines changed
        danglingContainer, // CloudContainer links to nothing
        unreadableFolder,  // a folder that cannot be opened or listed
        otherPasscode,     // the tree's key-check entry is another passcode's
        damagedKeyCheck,   // the tree's key-check entry cannot be read
    };
    static QList<Kind> kinds();

    struct Finding
    {
        Kind kind;
        StorageLocation tree;
        // The entry's path in its tree: clear names where they decode, the stored bytes otherwise
        // (bytes that are not UTF-8 as \xNN).
        QString name;
    };

    struct Report
    {
        QList<Finding> findings;
        QList<StorageLocation> trees; // those looked at
        qint64 files = 0;             // stored files looked at
        qint64 bytes = 0;             // their sizes
        bool cancelled = false;
        int count(Kind kind) const;
        bool isClean() const { return findings.isEmpty() && !cancelled; }
    };

    // Told the files and bytes looked at so far, every so many files.
    using Progress = std::function<void(qint64 files, qint64 bytes)>;

    // Checks the trees in turn. The cloud tree is skipped when no CloudContainer is set up (nothing
    // to check), and reported when its link dangles.
    static Report run(const QList<StorageLocation> &trees, const QString &passcode,
                      const std::atomic_bool *cancel = nullptr, const Progress &progress = {});
    // One tree at treeRoot, reported under location; the tree is the folder itself.
    static void checkTree(const QString &treeRoot, StorageLocation location, const QString &passcode,
                          Report &report, const std::atomic_bool *cancel = nullptr,
                          const Progress &progress = {});

    // A heading for the findings of a kind, as the summary shows it.
    static QString kindText(Kind kind);
    // The clear text of a stored path relative to its tree: each file name unscrambled.
    static QString shownPath(const QByteArray &storedPath, bool unscramble);
};
