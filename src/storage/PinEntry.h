#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <optional>

class CloudDrive;

// A folder's PIN as its PIN entry holds it: the trimmed PIN in UTF-8, encrypted with the passcode,
// stored under the scrambled name of "@.pin". The entry may come from another machine through a
// sync client, which can cut it short, drop the pad space of its name or change its letter case:
// an entry that is there but cannot be read keeps the folder locked, never opens it.
class PinEntry
{
public:
    enum class State { absent, readable, unreadable };

    // An encrypted PIN takes a block or two; an entry larger than this is damaged and not read whole.
    static constexpr qint64 maxEntryBytes = 4096;

    // No PIN entry: the folder is open.
    PinEntry() = default;

    // The entry from its encrypted bytes.
    static PinEntry fromEncrypted(const QByteArray &encrypted, const QString &passcode);
    // The entries a listing found in the drive's root, by their listed paths (DirectoryEntry::
    // nativePath): absent without any, readable when each one reads and all hold the same PIN,
    // unreadable otherwise (and without a passcode). Each is read only up to maxEntryBytes.
    static PinEntry read(const CloudDrive &drive, const QByteArrayList &listedPaths,
                         const std::optional<QString> &passcode);

    // The PIN entries in the drive's root, as a listing finds them (any letter case, with or without
    // the pad space). Throws DriveError.
    static QByteArrayList entriesIn(const CloudDrive &drive);

    State state() const { return m_state; }
    bool isAbsent() const { return m_state == State::absent; }
    bool isUnreadable() const { return m_state == State::unreadable; }
    // Empty unless readable: never empty then.
    const QString &pin() const { return m_pin; }
    // Why an unreadable entry is; for the log, never holding the PIN.
    const QString &problem() const { return m_problem; }

    // What the folder screen and the command line say about an unreadable entry.
    static QString unreadableText();

private:
    static PinEntry readable(const QString &pin);
    static PinEntry unreadable(const QString &problem);

    State m_state = State::absent;
    QString m_pin;
    QString m_problem;
};
