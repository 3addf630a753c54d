#pragma once

#include "security/VaultSession.h"
#include "storage/PasscodeChangeJournal.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class KeyChainHelper;

// Moves every stored file and PIN entry of both trees from the old passcode to the new one, then
// the trees' key checks, then the stored passcode; the journal (PasscodeChangeJournal) makes every
// step resumable. A file's new form is written beside it, flushed, recorded in the journal and
// only then renamed over the old form, so that at every moment each file is readable by one of
// the two passcodes, and the journal tells which. Synchronous: run it on a worker thread.
class PasscodeChange
{
    Q_DECLARE_TR_FUNCTIONS(PasscodeChange)

public:
    struct Progress
    {
        int filesDone = 0;
        int filesTotal = 0;
        qint64 bytesDone = 0;
        qint64 bytesTotal = 0;
    };
    enum class Outcome { finished, cancelled, locked, noSpace, failed };
    struct Result
    {
        Outcome outcome = Outcome::failed;
        QString error; // for a person to read, when not finished
        // Files the old passcode does not open, left as they were: "tree/folder/name" in clear.
        QStringList damaged;
    };
    struct Tree
    {
        QByteArray id; // "local" or "cloud"
        QString root;
    };

    using ProgressHandler = std::function<void(const Progress &)>;
    // Writes a tree's key-check entry for the passcode; false when it cannot. TreeKeyCheck unless set.
    using KeyCheckWriter = std::function<bool(const QString &treeRoot, const QString &passcode)>;
    // Whether a tree's key-check entry opens with the passcode: such a tree was changed already
    // (by another machine that shares it) and is left alone. TreeKeyCheck unless set.
    using KeyCheckReader = std::function<bool(const QString &treeRoot, const QString &passcode)>;
    // Test seam: an errno to fail the write of a file's new form with, after `bytesWritten`.
    using WriteFault = std::function<int(qint64 bytesWritten)>;

    PasscodeChange(PasscodeChangeJournal journal, const QString &oldPasscode, const QString &newPasscode,
                   KeyChainHelper &keys);
    ~PasscodeChange();
    PasscodeChange(const PasscodeChange &) = delete;
    PasscodeChange &operator=(const PasscodeChange &) = delete;

    // Starts a change: the journal, then the new passcode kept beside the stored one. The caller
    // has checked the old passcode and the new one's acceptance.
    static std::unique_ptr<PasscodeChange> start(const QString &oldPasscode, const QString &newPasscode,
                                                 KeyChainHelper &keys, QString &error);
    // The trees of this machine: the on-device one, and the cloud one when its container is there.
    static QList<Tree> trees();

    // The change stops at the next file when the session ends (the vault locked).
    void setSession(VaultSessionPtr session) { m_session = std::move(session); }
    void setProgressHandler(ProgressHandler handler) { m_progress = std::move(handler); }
    void setKeyCheckWriter(KeyCheckWriter writer) { m_keyCheckWriter = std::move(writer); }
    void setKeyCheckReader(KeyCheckReader reader) { m_keyCheckReader = std::move(reader); }
    void setWriteFault(WriteFault fault) { m_writeFault = std::move(fault); }
    void setTrees(const QList<Tree> &trees) { m_trees = trees; }
    // Any thread: the change stops at the next file, resumable.
    void cancel() { m_cancelled.store(true); }

    Result run();

    // The name of a file's new form while it is written, where the file system has no unnamed files.
    static inline const QByteArray siblingPrefix = QByteArrayLiteral(".lumisera-rekey-");

private:
    struct Candidate;
    struct Written;

    bool stopRequested() const;
    Result stopped() const;
    std::optional<Result> changeFiles();
    std::optional<QList<Candidate>> scan(QString &error);
    // Adds the files of the folder (folder: its path below the tree's root, empty for the root,
    // whose own files are not vault files) and of the folders in it. False with errno set.
    bool scanFolder(int tree, int folderFd, const QByteArray &folder, QList<Candidate> &candidates);
    std::optional<Result> process(const QList<Candidate> &candidates, int &changed);
    bool commit(std::vector<Written> &written, QString &error);
    Result finishUp();
    void report() const;

    PasscodeChangeJournal m_journal;
    QString m_old;
    QString m_new;
    KeyChainHelper &m_keys;
    VaultSessionPtr m_session;
    ProgressHandler m_progress;
    KeyCheckWriter m_keyCheckWriter;
    KeyCheckReader m_keyCheckReader;
    WriteFault m_writeFault;
    QList<Tree> m_trees;
    std::atomic_bool m_cancelled{false};
    Progress m_done;
    bool m_firstPass = true;
    QStringList m_damaged;
};
