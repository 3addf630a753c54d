#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>

class QDBusMessage;
class QDBusPendingCallWatcher;

// Fingerprint unlock through fprintd on the system bus. It only tells whether the device owner
// has just put an enrolled finger on the reader; it never sees the passcode. Every D-Bus call is
// asynchronous, so nothing here blocks the window, and a claimed reader is always released.
class Biometrics : public QObject
{
    Q_OBJECT
public:
    enum class Status { success, failure, cancelled };
    Q_ENUM(Status)

    // This class's own connection to the system bus, apart from anyone else's.
    static const QString busConnectionName;

    explicit Biometrics(QObject *parent = nullptr);
    ~Biometrics() override;

    // Asks fprintd whether a fingerprint may be offered: "hideBiometrics" off, a default reader,
    // and at least one finger enrolled for this user. Each refresh answers once through
    // enabledChanged(), even when the answer is unchanged; isEnabled() is false until then.
    void refresh();
    bool isEnabled() const;
    // The symbol of the fingerprint button: "touchid" while enabled, else empty.
    QString symbolName() const;

    // Claims the reader for this user and waits for any enrolled finger. Answers once through
    // finished(): failure, without touching the reader, when not enabled. A call while a scan
    // runs changes nothing; one while the last scan winds down starts once the reader is free.
    void authenticate();
    bool isScanning() const;
    // The person's "Cancel": finished(cancelled).
    void cancel();
    // The person's "Enter manually": finished(failure), logged.
    void enterManually();
    // The window locked mid-scan: finished(cancelled).
    void abort();

Q_SIGNALS:
    void enabledChanged(bool enabled);
    // Always delivered through the event loop, never inside a call of this class.
    void finished(Biometrics::Status status);
    // fprintd asks for another touch ("verify-retry-scan", …); the scan goes on.
    void retryRequested(const QString &result);
    // The reader listens: a touch from now on is checked.
    void readerListening();

private Q_SLOTS:
    void onVerifyStatus(const QString &result, bool done);

private:
    // Where the reader is between claim and release; every step after claiming owes a Release.
    enum class Step { idle, claiming, starting, scanning, stopping, releasing };

    static QDBusConnection systemBus();
    QDBusPendingCallWatcher *callDevice(const QString &method, const QVariantList &arguments = {});
    QDBusPendingCallWatcher *call(const QDBusMessage &message);

    void askForDevice(int generation);
    void askForFingers(int generation, const QString &device);
    void answerEnabled(int generation, bool enabled);
    void notEnabled(int generation, const QString &problem);

    void start();
    void onClaimed(QDBusPendingCallWatcher *watcher);
    void onVerifyStarted(QDBusPendingCallWatcher *watcher);
    bool listenForResults(bool listen);
    void stop();
    void release();
    void onReleased(QDBusPendingCallWatcher *watcher);
    void releaseOnDestruction();

    void endScan(Status status, const QString &problem = {});
    void answer(Status status);

    QDBusConnection m_bus;
    QString m_device;
    bool m_enabled = false;
    int m_refreshGeneration = 0;
    Step m_step = Step::idle;
    bool m_scanning = false;      // finished() is owed
    bool m_startWhenIdle = false; // asked again while the previous scan was still winding down
    QPointer<QDBusPendingCallWatcher> m_claim;
};
