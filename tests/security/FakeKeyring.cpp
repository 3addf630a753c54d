#include "FakeKeyring.h"

#include <QTimer>
#include <qt6keychain/keychain.h>

void FakeKeyring::start(Operation operation, const QString &account, const QByteArray &secret,
                        QObject *context, Done done)
{
    ++m_started;
    Delay delay;
    bool noBackend = false;
    Refusal refusal = Refusal::none;
    {
        const QMutexLocker locker(&m_mutex);
        noBackend = m_noBackend;
        refusal = m_refusal;
        delay = operation == Operation::read ? m_readDelay : m_changeDelay;
    }
    // Answered outside the lock: an answer may start the next job at once.
    if (noBackend)
        return done(
            CredentialResult::failure(QKeychain::NoBackendAvailable, QStringLiteral("no keyring here")));
    if (refusal == Refusal::locked)
        return done(
            CredentialResult::failure(QKeychain::AccessDenied, QStringLiteral("the collection is locked")));
    if (refusal == Refusal::dismissed)
        return done(CredentialResult::notFound());
    if (!delay)
        return; // dropped: nothing will ever answer
    // Pending until the answer has been given, or dropped with its context.
    ++m_pending;
    const std::shared_ptr<void> pending(nullptr, [self = shared_from_this()](void *) { --self->m_pending; });
    QTimer::singleShot(*delay, context,
                       [self = shared_from_this(), operation, account, secret, done = std::move(done),
                        pending] { done(self->apply(operation, account, secret)); });
}

CredentialResult FakeKeyring::apply(Operation operation, const QString &account, const QByteArray &secret)
{
    const QMutexLocker locker(&m_mutex);
    switch (operation) {
    case Operation::read:
        return m_items.contains(account) ? CredentialResult::success(m_items.value(account))
                                         : CredentialResult::notFound();
    case Operation::write:
        m_items.insert(account, secret);
        return CredentialResult::success();
    case Operation::remove:
        return m_items.remove(account) ? CredentialResult::success() : CredentialResult::notFound();
    }
    return CredentialResult::failure(-99, QStringLiteral("unknown operation"));
}

void FakeKeyring::setNoBackend(bool noBackend)
{
    const QMutexLocker locker(&m_mutex);
    m_noBackend = noBackend;
}

void FakeKeyring::setRefusal(Refusal refusal)
{
    const QMutexLocker locker(&m_mutex);
    m_refusal = refusal;
}

void FakeKeyring::setDelays(Delay reads, Delay changes)
{
    const QMutexLocker locker(&m_mutex);
    m_readDelay = reads;
    m_changeDelay = changes;
}

void FakeKeyring::put(const QString &account, const QByteArray &secret)
{
    const QMutexLocker locker(&m_mutex);
    m_items.insert(account, secret);
}

std::optional<QByteArray> FakeKeyring::item(const QString &account) const
{
    const QMutexLocker locker(&m_mutex);
    const auto found = m_items.constFind(account);
    return found == m_items.cend() ? std::nullopt : std::optional<QByteArray>(*found);
}
