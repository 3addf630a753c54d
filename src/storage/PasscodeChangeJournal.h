#pragma once

#include "core/UniqueFd.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// The record of an unfinished passcode change, in the data folder (never in a synced tree), mode
// 0600. While it exists the vault opens only to finish the change. It holds no passcode: only a
// check value of the new one (a known text encrypted with it), and for each file whose new form
// was written, the size and last bytes of that form, recorded durably before the form takes the
// file's place. A file that matches its record is done; any other is still in its old form.
// Lines are only ever appended; a line cut short by a crash is dropped when the journal is opened.
// One process at a time holds it (an flock on the file, released when the process dies).
class PasscodeChangeJournal
{
    Q_DECLARE_TR_FUNCTIONS(PasscodeChangeJournal)

public:
    // files: re-encrypting; keyCheck: every file is done, the trees' key checks switch next;
    // store: the key checks switched, the stored passcode switches next.
    enum class Phase { files, keyCheck, store };

    struct Fingerprint
    {
        qint64 size = -1;
        QByteArray tail; // the last Rekey::tailLength bytes (fewer in a shorter file)
        bool operator==(const Fingerprint &) const = default;
    };
    struct Entry
    {
        QByteArray file; // fileKey()
        Fingerprint fingerprint;
    };

    PasscodeChangeJournal(PasscodeChangeJournal &&) = default;
    PasscodeChangeJournal &operator=(PasscodeChangeJournal &&) = default;

    static QString path();
    static bool exists();
    // Starts a change to newPasscode; fails when one is unfinished or the journal cannot be made.
    static std::optional<PasscodeChangeJournal> begin(const QString &newPasscode, QString &error);
    // The unfinished change.
    static std::optional<PasscodeChangeJournal> open(QString &error);

    // Names one file of a tree ("local" or "cloud"), by the bytes of its folder and name.
    static QByteArray fileKey(const QByteArray &tree, const QByteArray &folder, const QByteArray &name);

    // Whether typed is the new passcode this change was started with.
    bool verifies(const QString &typed) const;
    Phase phase() const { return m_phase; }
    // Both durable when they answer true.
    bool setPhase(Phase phase);
    bool record(const QList<Entry> &entries);
    // The recorded new form of a file; nothing when none was recorded.
    std::optional<Fingerprint> fingerprint(const QByteArray &file) const;
    int recordedFiles() const { return int(m_fingerprints.size()); }
    // Removes the journal: the change is over.
    bool finish();

private:
    PasscodeChangeJournal() = default;
    static std::optional<PasscodeChangeJournal> load(UniqueFd fd, QString &error);
    bool parse(const QByteArray &contents);
    bool append(const QByteArray &lines);

    UniqueFd m_fd;
    QByteArray m_check;
    Phase m_phase = Phase::files;
    QHash<QByteArray, Fingerprint> m_fingerprints;
};
