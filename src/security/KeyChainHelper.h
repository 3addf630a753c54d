#pragma once

#include "CredentialBackend.h"

#include <QMutex>
#include <QObject>
#include <memory>
#include <optional>

class PasscodeStore;

// The vault's passcode: one item in the credential store, plus the in-memory copy that means
// "unlocked". The copy is never logged, and the passcode never appears in a message.
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

    // The desktop keyring, or the private file where none answers (see PasscodeStore).
    static std::unique_ptr<PasscodeStore> makeSystemBackend();

    std::optional<QString> loadedKey() const;
    void setLoadedKey(const std::optional<QString> &key);
    bool isUnlocked() const;

    // The cached passcode, else the stored one; never fills the cache. Any thread; may wait for
    // the desktop keyring up to its deadline.
    Lookup lookUp();
    // lookUp()'s passcode: none when none is set and when the store cannot answer.
    std::optional<QString> load();
    // Replaces the stored passcode; when that fails the previous one stays stored. On success a
    // cached passcode other than the new one is dropped, so that load() answers the new one.
    bool saveKey(const QString &password);
    // Removes the stored passcode and empties the cache; true when there was none.
    bool deleteKey();
    // The first-launch check: on the first start after an installation a passcode left by an
    // earlier one is removed (where the store allows it) and "installed" is stamped; then,
    // whether a passcode is stored. A store that cannot answer changes nothing.
    Lookup passcodeState();

    void setBackend(std::unique_ptr<CredentialBackend> backend);

    static const QString account;
    static const QString service;

Q_SIGNALS:
    void loadedKeyChanged();

private:
    KeyChainHelper() = default;
    std::shared_ptr<CredentialBackend> backend();
    // The stored passcode, leaving the cache aside.
    Lookup storedKey();

    mutable QMutex m_keyMutex;
    std::optional<QString> m_loadedKey;
    QMutex m_backendMutex;
    std::shared_ptr<CredentialBackend> m_backend;
};
