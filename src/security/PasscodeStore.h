#pragma once

#include "CredentialBackend.h"

#include <functional>
#include <memory>
#include <optional>

// Where the application keeps the passcode: the desktop keyring, or a private file where no
// keyring answers. Where it lives is recorded in the settings when it is saved, and reads go
// only there: a store that cannot answer makes the passcode unavailable, never absent, so that
// nobody is invited to set a second passcode beside one the store cannot reach.
// Without a record (a passcode saved by an earlier version, or none yet) the keyring is asked
// first, then the file. When the keyring cannot answer and the file holds nothing, the answer is
// "absent" only while the vault holds no folder that could need a passcode kept in the keyring.
class PasscodeStore : public CredentialBackend
{
public:
    enum class Location { none, keyring, file };

    // `vaultInUse` tells whether either tree holds a folder.
    PasscodeStore(std::unique_ptr<CredentialBackend> keyring, std::unique_ptr<CredentialBackend> file,
                  const QString &fileDescription, std::function<bool()> vaultInUse);

    CredentialResult read(const QString &account) override;
    // To the recorded place; without a record to the keyring, or to the file when no keyring
    // answers at all; then records where it went.
    CredentialResult write(const QString &account, const QByteArray &secret) override;
    CredentialResult remove(const QString &account) override;
    // Only where the record points, or when no vault folder could need the item.
    bool mayRemoveAsStale() override;

    // Moves the item to `target`: written there, read back and compared, recorded, and only then
    // removed from where it was. A success may carry a note that the old copy stayed behind.
    CredentialResult relocate(const QString &account, Location target);

    static Location recorded();
    static QString name(Location location);
    static std::optional<Location> fromName(const QString &name);

private:
    CredentialBackend &at(Location location);
    QString describe(Location location) const;
    CredentialResult discover(const QString &account, Location &where);
    CredentialResult writeWithoutRecord(const QString &account, const QByteArray &secret);
    static bool record(Location location);

    std::unique_ptr<CredentialBackend> m_keyring;
    std::unique_ptr<CredentialBackend> m_file;
    QString m_fileDescription;
    std::function<bool()> m_vaultInUse;
};
