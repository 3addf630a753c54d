#pragma once

#include "security/CredentialBackend.h"
#include "security/VaultPresence.h"

#include <functional>
#include <memory>
#include <optional>

// Where the application keeps the passcode: the desktop keyring, or a private file where no
// keyring answers. Where it lives is recorded in the settings when it is saved, and reads go
// only there: a store that cannot answer makes the passcode unavailable, never absent, so that
// nobody is invited to set a second passcode beside one the store cannot reach.
// A recorded store that answers "no such item" cannot answer either: the desktop keyring says so
// when its unlock prompt is dismissed.
// Without a record (a passcode saved by an earlier version, or none yet) the keyring is asked
// first, then the file. When neither gives a passcode, the answer is "absent" only with positive
// proof that no vault exists on this machine (VaultPresence).
class PasscodeStore : public CredentialBackend
{
public:
    enum class Location { none, keyring, file };

    // `vaultPresence` tells whether a vault may exist (VaultPresence::look()).
    PasscodeStore(std::unique_ptr<CredentialBackend> keyring, std::unique_ptr<CredentialBackend> file,
                  const QString &fileDescription, std::function<VaultPresence()> vaultPresence);

    CredentialResult read(const QString &account) override;
    // To the recorded place; without a record to the keyring, or to the file when no keyring
    // answers at all; then records where it went.
    CredentialResult write(const QString &account, const QByteArray &secret) override;
    CredentialResult remove(const QString &account) override;
    // Kept while a vault may exist, whatever the record says.
    QString reasonToKeep() override;

    // The code of a failure where the recorded store holds no passcode.
    static constexpr int MissingItem = -10;

    // Moves the item to `target`: written there, read back and compared, recorded, and only then
    // removed from where it was. A success may carry a note that the old copy stayed behind.
    CredentialResult relocate(const QString &account, Location target);

    static Location recorded();
    static QString name(Location location);
    static std::optional<Location> fromName(const QString &name);

private:
    CredentialBackend &at(Location location);
    // Where the passcode is: the record, or where it is found without one.
    Location passcodeLocation();
    QString describe(Location location) const;
    CredentialResult discover(const QString &account, Location &where);
    CredentialResult writeWithoutRecord(const QString &account, const QByteArray &secret);
    static bool record(Location location);

    std::unique_ptr<CredentialBackend> m_keyring;
    std::unique_ptr<CredentialBackend> m_file;
    QString m_fileDescription;
    std::function<VaultPresence()> m_vaultPresence;
};
