#include "security/VaultSession.h"

#include "security/PasscodeCheck.h"
#include "security/SecretWipe.h"

#include <QMutexLocker>

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
    return m_open.load() && PasscodeCheck::samePasscode(typed, m_key);
}

void VaultSession::end()
{
    const QMutexLocker locker(&m_mutex);
    m_open.store(false);
    wipeSecret(m_key);
    m_trees.clear();
}

void VaultSession::rememberTree(const QString &treeRoot, const QByteArray &stamp) const
{
    const QMutexLocker locker(&m_mutex);
    if (m_open.load())
        m_trees.insert(treeRoot, stamp);
}

QByteArray VaultSession::rememberedTree(const QString &treeRoot) const
{
    const QMutexLocker locker(&m_mutex);
    return m_open.load() ? m_trees.value(treeRoot) : QByteArray();
}
