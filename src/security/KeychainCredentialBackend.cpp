#include "security/KeychainCredentialBackend.h"

#include "core/Logging.h"
#include "security/KeyringThread.h"
#include "security/SecretWipe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>
#include <qt6keychain/keychain.h>

namespace {

using Operation = KeyringService::Operation;

// One call: shared by the waiting caller and the job, which may finish after the caller gave up.
struct Pending
{
    QMutex mutex;
    QWaitCondition finished;
    bool done = false;
    bool abandoned = false;
    CredentialResult result;
    QEventLoop *waitingLoop = nullptr; // the main thread's local loop while it waits

    // Hands the answer to the caller; false when the caller has given up.
    bool deliver(const CredentialResult &answer)
    {
        const QMutexLocker locker(&mutex);
        if (abandoned)
            return false;
        result = answer;
        done = true;
        finished.wakeAll();
        if (waitingLoop)
            QMetaObject::invokeMethod(waitingLoop, &QEventLoop::quit, Qt::QueuedConnection);
        return true;
    }

    bool isAbandoned()
    {
        const QMutexLocker locker(&mutex);
        return abandoned;
    }
};

bool onMainThread()
{
    const QCoreApplication *application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

void waitOnMainThread(Pending &pending, const QDeadlineTimer &deadline)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    {
        const QMutexLocker locker(&pending.mutex);
        pending.waitingLoop = &loop;
    }
    for (;;) {
        {
            const QMutexLocker locker(&pending.mutex);
            if (pending.done || deadline.hasExpired())
                break;
        }
        // A fresh timer each round: a nested loop may have taken the last one's time.
        timer.start(int(std::max<qint64>(1, deadline.remainingTime())));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    const QMutexLocker locker(&pending.mutex);
    pending.waitingLoop = nullptr;
}

// The answer, or a failure when the deadline passed; in that case the job is abandoned.
CredentialResult await(Pending &pending, const QDeadlineTimer &deadline)
{
    if (onMainThread()) {
        waitOnMainThread(pending, deadline);
    } else {
        // In slices, so that a closing application does not wait for the keyring: the storage
        // pool waits for this task before the process can end.
        const QMutexLocker locker(&pending.mutex);
        while (!pending.done && !deadline.hasExpired() && !KeyringThread::isClosing())
            pending.finished.wait(&pending.mutex,
                                  QDeadlineTimer(std::min<qint64>(deadline.remainingTime(), 100)));
    }
    const QMutexLocker locker(&pending.mutex);
    if (pending.done)
        return pending.result;
    pending.abandoned = true;
    if (KeyringThread::isClosing())
        return CredentialResult::failure(KeychainCredentialBackend::Closing,
                                         QStringLiteral("the application is closing"));
    return CredentialResult::failure(KeychainCredentialBackend::NoAnswer, QString());
}

// Puts back what a change found, after the change landed too late.
void restore(const std::shared_ptr<KeyringService> &service, QObject *context, const QString &account,
             CredentialResult before)
{
    logInfo(QStringLiteral("A keyring change that came after its deadline was undone"));
    const auto ignore = [](const CredentialResult &) {};
    if (before.status == CredentialResult::Status::notFound)
        service->start(Operation::remove, account, {}, context, ignore);
    else
        service->start(Operation::write, account, before.secret, context, ignore);
    wipeSecret(before.secret);
}

// On the keyring thread.
void begin(const std::shared_ptr<KeyringService> &service, QObject *context,
           const std::shared_ptr<Pending> &pending, Operation operation, const QString &account,
           const QByteArray &secret)
{
    if (pending->isAbandoned())
        return;
    if (operation == Operation::read) {
        service->start(operation, account, {}, context,
                       [pending](const CredentialResult &answer) { pending->deliver(answer); });
        return;
    }
    service->start(Operation::read, account, {}, context, [=](const CredentialResult &before) {
        // What cannot be read back cannot be put back: no change without it.
        if (before.status == CredentialResult::Status::failed) {
            pending->deliver(before);
            return;
        }
        if (pending->isAbandoned())
            return;
        service->start(operation, account, secret, context, [=](const CredentialResult &after) {
            if (!pending->deliver(after) && after.succeeded())
                restore(service, context, account, before);
        });
    });
}

QString durationText(std::chrono::milliseconds duration)
{
    if (duration >= std::chrono::minutes(1) &&
        duration % std::chrono::minutes(1) == std::chrono::milliseconds(0))
        return QStringLiteral("%1 minutes")
            .arg(std::chrono::duration_cast<std::chrono::minutes>(duration).count());
    return QStringLiteral("%1 s").arg(double(duration.count()) / 1000.0);
}

} // namespace

KeychainCredentialBackend::KeychainCredentialBackend(std::shared_ptr<KeyringService> service,
                                                     std::chrono::milliseconds deadline)
    : m_service(std::move(service)), m_deadline(deadline)
{}

CredentialResult KeychainCredentialBackend::read(const QString &account)
{
    return run(Operation::read, account, {});
}

CredentialResult KeychainCredentialBackend::write(const QString &account, const QByteArray &secret)
{
    // The keyring replaces the item of that key in place: there is no moment without one.
    return run(Operation::write, account, secret);
}

CredentialResult KeychainCredentialBackend::remove(const QString &account)
{
    CredentialResult result = run(Operation::remove, account, {});
    return result.status == CredentialResult::Status::notFound ? CredentialResult::success() : result;
}

bool KeychainCredentialBackend::meansNoKeyring(const CredentialResult &result)
{
    return result.status == CredentialResult::Status::failed &&
           (result.code == NoSessionBus || result.code == QKeychain::OtherError ||
            result.code == QKeychain::NoBackendAvailable);
}

CredentialResult KeychainCredentialBackend::run(Operation operation, const QString &account,
                                                const QByteArray &secret)
{
    QObject *const context = KeyringThread::context();
    if (!context)
        return described(CredentialResult::failure(Closing, QStringLiteral("the application is closing")));
    const QDeadlineTimer deadline(m_deadline, Qt::PreciseTimer);
    auto pending = std::make_shared<Pending>();
    QMetaObject::invokeMethod(
        context,
        [service = m_service, context, pending, operation, account, secret] {
            begin(service, context, pending, operation, account, secret);
        },
        Qt::QueuedConnection);
    return described(await(*pending, deadline));
}

CredentialResult KeychainCredentialBackend::described(CredentialResult result) const
{
    if (result.status != CredentialResult::Status::failed)
        return result;
    if (result.code == NoAnswer)
        result.message =
            QStringLiteral("the desktop keyring did not answer within ") + durationText(m_deadline);
    else if (meansNoKeyring(result))
        result.message = QStringLiteral("the desktop keyring is not reachable: ") + result.message;
    else
        result.message = QStringLiteral("the desktop keyring failed: ") + result.message;
    return result;
}
