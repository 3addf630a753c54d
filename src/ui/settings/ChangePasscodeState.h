#pragma once

#include "storage/PasscodeChange.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

// The rules of the "Change Passcode" sheet: the current passcode and the new one twice, then the
// change itself on the storage pool with its progress, Cancel, and its outcome. It also finishes
// an unfinished change (resuming()), asking for the new passcode only when the credential store
// no longer holds it. The lock stops a running change at the next file; it stays resumable.
class ChangePasscodeState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString current READ current WRITE setCurrent NOTIFY entriesChanged)
    Q_PROPERTY(QString newPasscode READ newPasscode WRITE setNewPasscode NOTIFY entriesChanged)
    Q_PROPERTY(QString repeated READ repeated WRITE setRepeated NOTIFY entriesChanged)
    Q_PROPERTY(bool canStart READ canStart NOTIFY entriesChanged)
    Q_PROPERTY(bool running READ isRunning NOTIFY runningChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
public:
    // resuming: an unfinished change is to be finished rather than a new one started.
    explicit ChangePasscodeState(bool resuming = false, QObject *parent = nullptr);
    ~ChangePasscodeState() override;

    bool isResuming() const { return m_resuming; }
    // Resuming without the new passcode in the store: it must be typed (once).
    bool needsNewPasscode() const { return m_needsNewPasscode; }

    QString current() const { return m_current; }
    void setCurrent(const QString &text);
    QString newPasscode() const { return m_new; }
    void setNewPasscode(const QString &text);
    QString repeated() const { return m_repeated; }
    void setRepeated(const QString &text);

    // The entries allow a start: a current passcode, and a new one the setting rule accepts
    // (when resuming, one typed when needed).
    bool canStart() const;
    bool isRunning() const { return m_running; }
    // Why the last attempt did not finish; empty otherwise.
    QString message() const { return m_message; }
    PasscodeChange::Progress progress() const { return m_progress; }

    // Checks the current passcode against the store and runs the change. Ignored unless canStart().
    void start();
    // Stops the running change at the next file; it stays resumable.
    void cancel();

    // How far the change got, for the sheet: files, MiB and the time left.
    static QString describe(const PasscodeChange::Progress &progress, qint64 elapsedMs);

Q_SIGNALS:
    void entriesChanged();
    void runningChanged();
    void messageChanged();
    void progressChanged();
    // Every file uses the new passcode, which is now stored; damaged names the files left as they were.
    void finished(const QStringList &damaged);

private:
    struct Outcome;
    void finish(const Outcome &outcome);
    void setMessage(const QString &message);
    void setRunning(bool running);

    bool m_resuming;
    bool m_needsNewPasscode = false;
    QString m_current;
    QString m_new;
    QString m_repeated;
    bool m_running = false;
    QString m_message;
    PasscodeChange::Progress m_progress;
    std::shared_ptr<std::atomic_bool> m_cancelled;
};
