#include "security/InMemoryCredentialBackend.h"

CredentialResult InMemoryCredentialBackend::read(const QString &account)
{
    const QMutexLocker locker(&m_mutex);
    if (m_failing && !m_writesOnly)
        return CredentialResult::failure(m_code, QStringLiteral("The credential store is unavailable"));
    const auto item = m_items.constFind(account);
    return item == m_items.cend() ? CredentialResult::notFound() : CredentialResult::success(*item);
}

CredentialResult InMemoryCredentialBackend::write(const QString &account, const QByteArray &secret)
{
    const QMutexLocker locker(&m_mutex);
    if (m_failing)
        return CredentialResult::failure(m_code, QStringLiteral("The credential store is unavailable"));
    m_items.insert(account, secret);
    return CredentialResult::success();
}

CredentialResult InMemoryCredentialBackend::remove(const QString &account)
{
    const QMutexLocker locker(&m_mutex);
    if (m_failing)
        return CredentialResult::failure(m_code, QStringLiteral("The credential store is unavailable"));
    m_items.remove(account);
    return CredentialResult::success();
}

void InMemoryCredentialBackend::setFailing(bool failing, int code, bool writesOnly)
{
    const QMutexLocker locker(&m_mutex);
    m_failing = failing;
    m_code = code;
    m_writesOnly = writesOnly;
}
