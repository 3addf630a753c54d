#include "KeyChainHelper.h"

#include "AppPaths.h"
#include "FileCredentialBackend.h"
#include "KeychainCredentialBackend.h"
#include "Logging.h"
#include "PasscodeStore.h"
#include "QtKeychainService.h"
#include "SecretWipe.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringDecoder>

const QString KeyChainHelper::account = QStringLiteral("com_morvenda_dailyVeln");
const QString KeyChainHelper::service = QStringLiteral("Lumisera");

namespace {

std::optional<QString> decodeStrictly(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool holdsFolders(const QString &tree)
{
    return !QDir(tree).isEmpty(QDir::Dirs | QDir::NoDotAndDotDot);
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

std::unique_ptr<PasscodeStore> KeyChainHelper::makeSystemBackend()
{
    return std::make_unique<PasscodeStore>(
        std::make_unique<KeychainCredentialBackend>(std::make_shared<QtKeychainService>(service)),
        std::make_unique<FileCredentialBackend>(), AppPaths::credentialsFile(), [] {
            return holdsFolders(AppPaths::documentsDirectory()) ||
                   holdsFolders(AppPaths::cloudContainer() + QStringLiteral("/Documents"));
        });
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
        if (m_loadedKey)
            wipeSecret(*m_loadedKey);
        m_loadedKey = key;
    }
    Q_EMIT loadedKeyChanged();
}

bool KeyChainHelper::isUnlocked() const
{
    return loadedKey().has_value();
}

KeyChainHelper::Lookup KeyChainHelper::lookUp()
{
    if (std::optional<QString> cached = loadedKey())
        return {PasscodeState::set, cached, {}};
    return storedKey();
}

std::optional<QString> KeyChainHelper::load()
{
    return lookUp().passcode;
}

KeyChainHelper::Lookup KeyChainHelper::storedKey()
{
    CredentialResult result = backend()->read(account);
    if (result.status == CredentialResult::Status::notFound)
        return {};
    if (!result.succeeded()) {
        logError(result.message, QStringLiteral(__FILE__), QStringLiteral("load()"));
        return {PasscodeState::unavailable, std::nullopt, result.message};
    }
    std::optional<QString> passcode = decodeStrictly(result.secret);
    wipeSecret(result.secret);
    if (!passcode) {
        const QString problem = QStringLiteral("the stored passcode is not valid UTF-8");
        logError(problem, QStringLiteral(__FILE__), QStringLiteral("load()"));
        return {PasscodeState::unavailable, std::nullopt, problem};
    }
    return {PasscodeState::set, passcode, {}};
}

bool KeyChainHelper::saveKey(const QString &password)
{
    QByteArray data = password.toUtf8();
    if (QString::fromUtf8(data) != password) { // a lone surrogate would not come back the same
        wipeSecret(data);
        logError(QStringLiteral("Error converting password to data"), QStringLiteral(__FILE__),
                 QStringLiteral("saveKey(password:)"));
        return false;
    }
    const CredentialResult result = backend()->write(account, data);
    wipeSecret(data);
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

KeyChainHelper::Lookup KeyChainHelper::passcodeState()
{
    if (UserDefaults::date(UserDefaults::Key::installed) != UserDefaults::distantPast())
        return lookUp();
    const Lookup found = storedKey();
    if (found.state == PasscodeState::unavailable)
        return found;
    if (found.state == PasscodeState::set && !backend()->mayRemoveAsStale()) {
        logInfo(QStringLiteral("A passcode from an earlier installation is kept: the vault holds folders"));
        UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
        return found;
    }
    if (!deleteKey())
        return lookUp();
    UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
    return {};
}
