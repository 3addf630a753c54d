#include "KeychainCredentialBackend.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>
#include <functional>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

constexpr int NoAnswer = -1;

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

// The process's keyring thread: the parent object of the running jobs lives there.
class KeyringThread
{
public:
    static QObject *context()
    {
        const QMutexLocker locker(&s_mutex);
        if (!s_thread && !s_stopped) {
            s_thread = new QThread;
            s_thread->setObjectName(QStringLiteral("Keyring"));
            s_context = new QObject;
            s_context->moveToThread(s_thread);
            s_thread->start();
            qAddPostRoutine(&KeyringThread::stop);
        }
        return s_context;
    }

private:
    static void stop()
    {
        const QMutexLocker locker(&s_mutex);
        s_stopped = true;
        if (!s_thread)
            return;
        QMetaObject::invokeMethod(
            s_context, [context = s_context] { delete context; }, Qt::BlockingQueuedConnection);
        s_thread->quit();
        s_thread->wait();
        delete s_thread;
        s_thread = nullptr;
        s_context = nullptr;
    }

    static inline QMutex s_mutex;
    static inline QThread *s_thread = nullptr;
    static inline QObject *s_context = nullptr;
    static inline bool s_stopped = false;
};

bool onMainThread()
{
    const QCoreApplication *application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

void startJob(QObject *context, const std::shared_ptr<Outcome> &outcome, const QString &account,
              const std::function<QKeychain::Job *(QObject *)> &makeJob)
{
    QMetaObject::invokeMethod(
        context,
        [context, outcome, account, makeJob] {
            QKeychain::Job *job = makeJob(context);
            job->setAutoDelete(true);
            job->setInsecureFallback(false); // never QtKeychain's own plain-text store
            job->setKey(account);
            QObject::connect(job, &QKeychain::Job::finished, context, [outcome](QKeychain::Job *finished) {
                const QMutexLocker locker(&outcome->mutex);
                outcome->result = resultOf(finished);
                outcome->done = true;
                outcome->finished.wakeAll();
                if (outcome->waitingLoop)
                    QMetaObject::invokeMethod(outcome->waitingLoop, &QEventLoop::quit, Qt::QueuedConnection);
            });
            job->start();
        },
        Qt::QueuedConnection);
}

// The main thread keeps its events flowing (but user input) while it waits; others block.
CredentialResult awaitOutcome(Outcome &outcome, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    if (onMainThread()) {
        QEventLoop loop;
        QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
        {
            const QMutexLocker locker(&outcome.mutex);
            outcome.waitingLoop = &loop;
        }
        while (!deadline.hasExpired()) {
            {
                const QMutexLocker locker(&outcome.mutex);
                if (outcome.done)
                    break;
            }
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        const QMutexLocker locker(&outcome.mutex);
        outcome.waitingLoop = nullptr;
    } else {
        const QMutexLocker locker(&outcome.mutex);
        while (!outcome.done && !deadline.hasExpired())
            outcome.finished.wait(&outcome.mutex, deadline);
    }
    const QMutexLocker locker(&outcome.mutex);
    if (!outcome.done)
        return CredentialResult::failure(NoAnswer,
                                         QStringLiteral("The desktop keyring did not answer in time"));
    return outcome.result;
}

} // namespace

KeychainCredentialBackend::KeychainCredentialBackend(const QString &service,
                                                     std::chrono::milliseconds timeout)
    : m_service(service), m_timeout(timeout)
{}

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
    QObject *const context = KeyringThread::context();
    if (!context)
        return CredentialResult::failure(NoAnswer, QStringLiteral("The application is closing"));
    auto outcome = std::make_shared<Outcome>();
    const QString service = m_service;
    startJob(context, outcome, account, [operation, service, secret](QObject *parent) -> QKeychain::Job * {
        switch (operation) {
        case Operation::read:
            return new QKeychain::ReadPasswordJob(service, parent);
        case Operation::write: {
            auto *job = new QKeychain::WritePasswordJob(service, parent);
            job->setBinaryData(secret);
            return job;
        }
        case Operation::remove:
            break;
        }
        return new QKeychain::DeletePasswordJob(service, parent);
    });
    return awaitOutcome(*outcome, m_timeout);
}
