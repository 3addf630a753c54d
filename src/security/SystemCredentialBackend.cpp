#include "SystemCredentialBackend.h"

#include "KeychainCredentialBackend.h"
#include "Logging.h"

SystemCredentialBackend::SystemCredentialBackend(std::unique_ptr<CredentialBackend> keyring,
                                                 std::unique_ptr<CredentialBackend> file,
                                                 const QString &fileDescription)
    : m_keyring(std::move(keyring)), m_file(std::move(file)), m_fileDescription(fileDescription)
{}

std::optional<CredentialResult> SystemCredentialBackend::choose(const QString &account)
{
    const QMutexLocker locker(&m_mutex);
    if (m_chosen)
        return std::nullopt;
    m_chosen = true;
    CredentialResult probe = m_keyring->read(account);
    if (!KeychainCredentialBackend::meansNoKeyring(probe))
        return probe;
    useFile(probe);
    return std::nullopt;
}

void SystemCredentialBackend::useFile(const CredentialResult &why)
{
    if (m_fileOnly.exchange(true))
        return;
    logInfo(QStringLiteral("No desktop keyring answered (") + why.message +
            QStringLiteral("); the passcode is kept in ") + m_fileDescription);
}

bool SystemCredentialBackend::usesKeyring(const QString &account)
{
    choose(account);
    return !m_fileOnly;
}

CredentialResult SystemCredentialBackend::read(const QString &account)
{
    std::optional<CredentialResult> result = choose(account);
    if (m_fileOnly)
        return m_file->read(account);
    if (!result)
        result = m_keyring->read(account);
    if (result->status == CredentialResult::Status::notFound)
        return m_file->read(account);
    return *result;
}

CredentialResult SystemCredentialBackend::write(const QString &account, const QByteArray &secret)
{
    choose(account);
    if (m_fileOnly)
        return m_file->write(account, secret);
    const CredentialResult result = m_keyring->write(account, secret);
    if (result.succeeded())
        m_file->remove(account);
    if (!KeychainCredentialBackend::meansNoKeyring(result))
        return result;
    useFile(result);
    return m_file->write(account, secret);
}

CredentialResult SystemCredentialBackend::remove(const QString &account)
{
    choose(account);
    if (m_fileOnly)
        return m_file->remove(account);
    const CredentialResult fromKeyring = m_keyring->remove(account);
    const CredentialResult fromFile = m_file->remove(account);
    return fromKeyring.succeeded() ? fromFile : fromKeyring;
}
