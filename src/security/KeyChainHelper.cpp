#include "security/KeyChainHelper.h"

#include "core/AppPaths.h"
#include "core/Logging.h"
#include "core/UserDefaults.h"
#include "security/FileCredentialBackend.h"
#include "security/KeychainCredentialBackend.h"
#include "security/PasscodeStore.h"
#include "security/QtKeychainService.h"
#include "security/SecretWipe.h"
#include "security/VaultPresence.h"

#include <QCoreApplication>
#include <QStringDecoder>

const QString KeyChainHelper::account = QStringLiteral("com_morvenda_dailyVeln");
const QString KeyChainHelper::pendingAccount = QStringLiteral("com_morvenda_dailyVeln.pending");
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

std::unique_ptr<PasscodeStore> KeyChainHelper::makeSystemBackend(std::chrono::milliseconds keyringDeadline)
{
    return std::make_unique<PasscodeStore>(std::make_unique<KeychainCredentialBackend>(
                                               std::make_shared<QtKeychainService>(service), keyringDeadline),
                                           std::make_unique<FileCredentialBackend>(),
                                           AppPaths::credentialsFile(), [] { return VaultPresence::look(); });
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

VaultSessionPtr KeyChainHelper::session() const
{
    const QMutexLocker locker(&m_sessionMutex);
    return m_session && m_session->isOpen() ? m_session : nullptr;
}

std::optional<QString> KeyChainHelper::loadedKey() const
{
    const VaultSessionPtr current = session();
    return current ? current->key() : std::nullopt;
}

bool KeyChainHelper::isUnlocked() const
{
    return session() != nullptr;
}

VaultSessionPtr KeyChainHelper::unlock(const QString &passcode, quint64 lockGeneration)
{
    {
        const QMutexLocker locker(&m_sessionMutex);
        if (lockGeneration != m_lockGeneration.load()) {
            logInfo(QStringLiteral("A passcode check that ended after the vault locked was dropped"));
            return nullptr;
        }
        if (m_session && m_session->holdsKey(passcode))
            return m_session;
        if (m_session)
            m_session->end();
        m_session = VaultSession::open(passcode, lockGeneration);
    }
    Q_EMIT loadedKeyChanged();
    return session();
}

void KeyChainHelper::lock()
{
    ++m_lockGeneration;
    endSession();
}

void KeyChainHelper::endSession()
{
    VaultSessionPtr ended;
    {
        const QMutexLocker locker(&m_sessionMutex);
        ended = std::exchange(m_session, nullptr);
    }
    if (!ended)
        return;
    ended->end();
    Q_EMIT loadedKeyChanged();
}

KeyChainHelper::Lookup KeyChainHelper::lookUp()
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
    const VaultSessionPtr current = session();
    if (current && !current->holdsKey(password))
        lock();
    return true;
}

bool KeyChainHelper::savePending(const QString &password)
{
    QByteArray data = password.toUtf8();
    const bool converted = QString::fromUtf8(data) == password;
    const CredentialResult result = converted ? backend()->write(pendingAccount, data) : CredentialResult{};
    wipeSecret(data);
    if (!result.succeeded())
        logError(QStringLiteral("Error saving the pending passcode ") + QString::number(result.code),
                 QStringLiteral(__FILE__), QStringLiteral("savePending(password:)"));
    return result.succeeded();
}

std::optional<QString> KeyChainHelper::pendingPasscode()
{
    CredentialResult result = backend()->read(pendingAccount);
    if (!result.succeeded())
        return std::nullopt;
    std::optional<QString> passcode = decodeStrictly(result.secret);
    wipeSecret(result.secret);
    return passcode;
}

bool KeyChainHelper::removePending()
{
    return backend()->remove(pendingAccount).succeeded();
}

bool KeyChainHelper::deleteKey()
{
    const Lookup stored = lookUp();
    if (stored.state == PasscodeState::notSet)
        return true;
    if (stored.state == PasscodeState::unavailable)
        return false;
    const CredentialResult result = backend()->remove(account);
    if (!result.succeeded()) {
        if (!result.message.isEmpty())
            logError(result.message, QStringLiteral(__FILE__), QStringLiteral("deleteKey()"));
        return false;
    }
    logInfo(QStringLiteral("Successfully removed from keychain."));
    lock();
    return true;
}

KeyChainHelper::Lookup KeyChainHelper::passcodeState()
{
    if (UserDefaults::date(UserDefaults::Key::installed) != UserDefaults::distantPast())
        return lookUp();
    const Lookup found = lookUp();
    if (found.state == PasscodeState::unavailable)
        return found;
    if (found.state == PasscodeState::set) {
        const QString keptBecause = backend()->reasonToKeep();
        if (!keptBecause.isEmpty()) {
            logInfo(QStringLiteral("A passcode from an earlier installation is kept: ") + keptBecause);
            UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
            return found;
        }
        if (!deleteKey())
            return lookUp();
    }
    UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
    return {};
}
