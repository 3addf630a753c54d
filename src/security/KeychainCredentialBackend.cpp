#include "KeychainCredentialBackend.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMutex>
#include <QTimer>
#include <QWaitCondition>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

constexpr int TimedOut = -1;

// Shared by the waiting caller and the job, which may finish after the caller gave up.
struct Outcome
{
    QMutex mutex;
    QWaitCondition finished;
    bool done = false;
    CredentialResult result;
    QEventLoop *waitingLoop = nullptr; // the main thread's local loop while it waits
};

CredentialResult resultOf(QKeychain::Job *job)
{
    switch (job->error()) {
    case QKeychain::NoError: {
        auto *read = qobject_cast<QKeychain::ReadPasswordJob *>(job);
        return CredentialResult::success(read ? read->binaryData() : QByteArray());
    }
    case QKeychain::EntryNotFound:
        return CredentialResult::notFound();
    default:
        return CredentialResult::failure(int(job->error()), job->errorString());
    }
}

bool onMainThread()
{
    const QCoreApplication *application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

} // namespace

KeychainCredentialBackend::KeychainCredentialBackend(const QString &service,
                                                     std::chrono::milliseconds timeout)
    : m_service(service), m_timeout(timeout), m_context(new QObject)
{
    m_thread.setObjectName(QStringLiteral("Keyring"));
    m_context->moveToThread(&m_thread);
    m_thread.start();
}

KeychainCredentialBackend::~KeychainCredentialBackend()
{
    QMetaObject::invokeMethod(
        m_context, [context = m_context] { delete context; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

CredentialResult KeychainCredentialBackend::read(const QString &account)
{
    return run(Operation::read, account, {});
}

CredentialResult KeychainCredentialBackend::write(const QString &account, const QByteArray &secret)
{
    // QtKeychain replaces the item of that key in place: there is no moment without one.
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
           (result.code == QKeychain::OtherError || result.code == QKeychain::NoBackendAvailable);
}

CredentialResult KeychainCredentialBackend::run(Operation operation, const QString &account,
                                                const QByteArray &secret)
{
    auto outcome = std::make_shared<Outcome>();
    QMetaObject::invokeMethod(
        m_context,
        [outcome, operation, account, secret, service = m_service, context = m_context] {
            QKeychain::Job *job = nullptr;
            switch (operation) {
            case Operation::read:
                job = new QKeychain::ReadPasswordJob(service, context);
                break;
            case Operation::write: {
                auto *writeJob = new QKeychain::WritePasswordJob(service, context);
                writeJob->setBinaryData(secret);
                job = writeJob;
                break;
            }
            case Operation::remove:
                job = new QKeychain::DeletePasswordJob(service, context);
                break;
            }
            job->setAutoDelete(true);
            job->setInsecureFallback(false);
            job->setKey(account);
            QObject::connect(job, &QKeychain::Job::finished, context, [outcome](QKeychain::Job *finishedJob) {
                const QMutexLocker locker(&outcome->mutex);
                outcome->result = resultOf(finishedJob);
                outcome->done = true;
                outcome->finished.wakeAll();
                if (outcome->waitingLoop)
                    QMetaObject::invokeMethod(outcome->waitingLoop, &QEventLoop::quit, Qt::QueuedConnection);
            });
            job->start();
        },
        Qt::QueuedConnection);

    const QDeadlineTimer deadline(m_timeout);
    if (onMainThread()) {
        QEventLoop loop;
        QTimer::singleShot(m_timeout, &loop, &QEventLoop::quit);
        {
            const QMutexLocker locker(&outcome->mutex);
            outcome->waitingLoop = &loop;
        }
        while (!deadline.hasExpired()) {
            {
                const QMutexLocker locker(&outcome->mutex);
                if (outcome->done)
                    break;
            }
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        const QMutexLocker locker(&outcome->mutex);
        outcome->waitingLoop = nullptr;
    } else {
        const QMutexLocker locker(&outcome->mutex);
        while (!outcome->done && !deadline.hasExpired())
            outcome->finished.wait(&outcome->mutex, deadline);
    }
    const QMutexLocker locker(&outcome->mutex);
    if (!outcome->done)
        return CredentialResult::failure(TimedOut,
                                         QStringLiteral("The desktop keyring did not answer in time"));
    return outcome->result;
}
