#include "VaultSession.h"

#include "SecretWipe.h"

#include <QMutexLocker>
#include <openssl/crypto.h>

VaultSession::VaultSession(const QString &key, quint64 lockGeneration)
    : m_key(key.constData(), key.size()), m_lockGeneration(lockGeneration)
{}

VaultSession::~VaultSession()
{
    end();
}

std::shared_ptr<VaultSession> VaultSession::open(const QString &key, quint64 lockGeneration)
{
    return std::make_shared<VaultSession>(key, lockGeneration);
}

std::optional<QString> VaultSession::key() const
{
    const QMutexLocker locker(&m_mutex);
    if (!m_open.load())
        return std::nullopt;
    return QString(m_key.constData(), m_key.size());
}

bool VaultSession::holdsKey(const QString &typed) const
{
    const QMutexLocker locker(&m_mutex);
    if (!m_open.load() || typed.size() != m_key.size())
        return false;
    return CRYPTO_memcmp(typed.constData(), m_key.constData(), size_t(m_key.size()) * sizeof(QChar)) == 0;
}

void VaultSession::end()
{
    const QMutexLocker locker(&m_mutex);
    m_open.store(false);
    wipeSecret(m_key);
}
