#pragma once

#include "security/CredentialBackend.h"
#include "security/VaultSession.h"

#include <QMutex>
#include <QObject>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

class PasscodeStore;

// The vault's passcode: one item in the credential store, and the vault session that means
// "unlocked". The passcode never appears in a log line or a message.
//
// Only the window and the command line come here: they unlock, lock, and hand the session to what
// needs the key.
class KeyChainHelper : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool unlocked READ isUnlocked NOTIFY loadedKeyChanged)
public:
    // Whether a passcode is set, as far as the store can tell.
    enum class PasscodeState { notSet, set, unavailable };
    Q_ENUM(PasscodeState)

    struct Lookup
    {
        PasscodeState state = PasscodeState::notSet;
        std::optional<QString> passcode; // when set
        QString problem;                 // when unavailable: which store, and why
    };

    static KeyChainHelper &shared();

    // The desktop keyring, or the private file where none answers (see PasscodeStore). A keyring
    // call fails when it has not answered by `keyringDeadline`.
    static std::unique_ptr<PasscodeStore>
    makeSystemBackend(std::chrono::milliseconds keyringDeadline = std::chrono::minutes(2));

    // The open session; nothing while the vault is locked.
    VaultSessionPtr session() const;
    // The open session's key.
    std::optional<QString> loadedKey() const;
    bool isUnlocked() const;
    // Moves on at every lock. Whoever starts a passcode check reads it first and hands it to
    // unlock(), so that an answer coming after a lock cannot undo it.
    quint64 lockGeneration() const { return m_lockGeneration.load(); }
    // Opens a session with `passcode`, unless the vault was locked after `lockGeneration` was read.
    // An open session with the same key stays; one with another key ends. Main thread.
    VaultSessionPtr unlock(const QString &passcode, quint64 lockGeneration);
    // Ends the session, when there is one, and moves the lock generation on. Main thread.
    void lock();

    // The stored passcode. Any thread; may wait for the desktop keyring up to its deadline.
    Lookup lookUp();
    // Replaces the stored passcode; when that fails the previous one stays stored. On success a
    // session under another passcode ends.
    bool saveKey(const QString &password);
    // Removes the stored passcode and locks; true when there was none. A store that cannot answer
    // removes nothing and answers false.
    bool deleteKey();
    // The first-launch check: on the first start after an installation a passcode left by an
    // earlier one is removed, but only when no vault on this machine could need it; "installed"
    // is stamped. Then, whether a passcode is stored. A store that cannot answer changes nothing.
    Lookup passcodeState();

    // The new passcode while a passcode change runs, kept beside the passcode in the same store so
    // that an interrupted change can resume without asking for it. Any thread.
    bool savePending(const QString &password);
    // Nothing when there is none or the store cannot answer.
    std::optional<QString> pendingPasscode();
    bool removePending();

    void setBackend(std::unique_ptr<CredentialBackend> backend);

    static const QString account;
    static const QString pendingAccount;
    static const QString service;

Q_SIGNALS:
    // The vault was unlocked or locked.
    void loadedKeyChanged();

private:
    KeyChainHelper() = default;
    std::shared_ptr<CredentialBackend> backend();
    void endSession();

    mutable QMutex m_sessionMutex;
    VaultSessionPtr m_session;
    std::atomic<quint64> m_lockGeneration{0};
    QMutex m_backendMutex;
    std::shared_ptr<CredentialBackend> m_backend;
};
