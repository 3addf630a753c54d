#include "security/QtKeychainService.h"

#include "security/KeychainCredentialBackend.h"

#include <QDBusConnection>
#include <qt6keychain/keychain.h>

namespace {

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

QKeychain::Job *makeJob(KeyringService::Operation operation, const QString &service, const QByteArray &secret,
                        QObject *parent)
{
    switch (operation) {
    case KeyringService::Operation::read:
        return new QKeychain::ReadPasswordJob(service, parent);
    case KeyringService::Operation::write: {
        auto *job = new QKeychain::WritePasswordJob(service, parent);
        job->setBinaryData(secret);
        return job;
    }
    case KeyringService::Operation::remove:
        break;
    }
    return new QKeychain::DeletePasswordJob(service, parent);
}

} // namespace

QtKeychainService::QtKeychainService(const QString &service) : m_service(service) {}

void QtKeychainService::start(Operation operation, const QString &account, const QByteArray &secret,
                              QObject *context, Done done)
{
    // Without a session bus neither the Secret Service nor KWallet can answer; say so plainly
    // rather than with the library's D-Bus message.
    if (!QDBusConnection::sessionBus().isConnected()) {
        done(CredentialResult::failure(KeychainCredentialBackend::NoSessionBus,
                                       QStringLiteral("no session bus")));
        return;
    }
    QKeychain::Job *job = makeJob(operation, m_service, secret, context);
    job->setAutoDelete(true);
    job->setInsecureFallback(false); // never QtKeychain's own plain-text store
    job->setKey(account);
    QObject::connect(job, &QKeychain::Job::finished, context,
                     [done = std::move(done)](QKeychain::Job *finished) { done(resultOf(finished)); });
    job->start();
}
