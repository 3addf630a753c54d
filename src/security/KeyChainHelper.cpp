#include "KeyChainHelper.h"

#include "AppPaths.h"
#include "FileCredentialBackend.h"
#include "KeychainCredentialBackend.h"
#include "Logging.h"
#include "SystemCredentialBackend.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <openssl/crypto.h>

const QString KeyChainHelper::account = QStringLiteral("com_morvenda_dailyVeln");
const QString KeyChainHelper::service = QStringLiteral("Lumisera");

namespace {

void wipe(QByteArray &bytes)
{
    OPENSSL_cleanse(bytes.data(), size_t(bytes.size()));
}

std::optional<QString> decodeStrictly(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

KeyChainHelper &KeyChainHelper::shared()
{
    static KeyChainHelper *const instance = [] {
        auto *helper = new KeyChainHelper; // lives as long as the process
        // Observers of loadedKey live on the main thread, whoever asks first.
        if (const QCoreApplication *application = QCoreApplication::instance())
            helper->moveToThread(application->thread());
        return helper;
    }();
    return *instance;
}

std::unique_ptr<CredentialBackend> KeyChainHelper::makeSystemBackend()
{
    return std::make_unique<SystemCredentialBackend>(std::make_unique<KeychainCredentialBackend>(service),
                                                     std::make_unique<FileCredentialBackend>(),
                                                     AppPaths::credentialsFile());
}

std::shared_ptr<CredentialBackend> KeyChainHelper::backend()
{
    const QMutexLocker locker(&m_backendMutex);
    if (!m_backend)
        m_backend = makeSystemBackend();
    return m_backend;
}

void KeyChainHelper::setBackend(std::unique_ptr<CredentialBackend> backend)
{
    const QMutexLocker locker(&m_backendMutex);
    m_backend = std::move(backend);
}

std::optional<QString> KeyChainHelper::loadedKey() const
{
    const QMutexLocker locker(&m_keyMutex);
    return m_loadedKey;
}

void KeyChainHelper::setLoadedKey(const std::optional<QString> &key)
{
    {
        const QMutexLocker locker(&m_keyMutex);
        if (m_loadedKey == key)
            return;
        m_loadedKey = key;
    }
    Q_EMIT loadedKeyChanged();
}

bool KeyChainHelper::isUnlocked() const
{
    return loadedKey().has_value();
}

std::optional<QString> KeyChainHelper::load()
{
    if (std::optional<QString> cached = loadedKey())
        return cached;
    return storedKey();
}

std::optional<QString> KeyChainHelper::storedKey()
{
    CredentialResult result = backend()->read(account);
    if (result.status == CredentialResult::Status::failed)
        logError(result.message, QStringLiteral(__FILE__), QStringLiteral("load()"));
    if (!result.succeeded())
        return std::nullopt;
    std::optional<QString> passcode = decodeStrictly(result.secret);
    wipe(result.secret);
    return passcode;
}

bool KeyChainHelper::saveKey(const QString &password)
{
    QByteArray data = password.toUtf8();
    if (QString::fromUtf8(data) != password) { // a lone surrogate would not come back the same
        wipe(data);
        logError(QStringLiteral("Error converting password to data"), QStringLiteral(__FILE__),
                 QStringLiteral("saveKey(password:)"));
        return false;
    }
    const CredentialResult result = backend()->write(account, data);
    wipe(data);
    if (!result.succeeded()) {
        logError(QStringLiteral("Error saving to keychain ") + QString::number(result.code),
                 QStringLiteral(__FILE__), QStringLiteral("saveKey(password:)"));
        return false;
    }
    logInfo(QStringLiteral("User saved successfully in the keychain"));
    const std::optional<QString> cached = loadedKey();
    if (cached && *cached != password)
        setLoadedKey(std::nullopt);
    return true;
}

bool KeyChainHelper::deleteKey()
{
    if (!load())
        return true;
    const CredentialResult result = backend()->remove(account);
    if (!result.succeeded()) {
        if (!result.message.isEmpty())
            logError(result.message, QStringLiteral(__FILE__), QStringLiteral("deleteKey()"));
        return false;
    }
    logInfo(QStringLiteral("Successfully removed from keychain."));
    setLoadedKey(std::nullopt);
    return true;
}

bool KeyChainHelper::isPasscodeSet()
{
    if (UserDefaults::date(UserDefaults::Key::installed) == UserDefaults::distantPast() && deleteKey()) {
        UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
        return false;
    }
    return load().has_value();
}
