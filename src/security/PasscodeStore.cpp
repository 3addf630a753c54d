#include "security/PasscodeStore.h"

#include "core/Logging.h"
#include "core/UserDefaults.h"
#include "security/KeyChainHelper.h"
#include "security/KeychainCredentialBackend.h"
#include "security/SecretWipe.h"

#include <atomic>

namespace {

using Status = CredentialResult::Status;

} // namespace

PasscodeStore::PasscodeStore(std::unique_ptr<CredentialBackend> keyring,
                             std::unique_ptr<CredentialBackend> file, const QString &fileDescription,
                             std::function<VaultPresence()> vaultPresence)
    : m_keyring(std::move(keyring)), m_file(std::move(file)), m_fileDescription(fileDescription),
      m_vaultPresence(std::move(vaultPresence))
{}

PasscodeStore::Location PasscodeStore::recorded()
{
    return fromName(UserDefaults::passcodeStore()).value_or(Location::none);
}

QString PasscodeStore::name(Location location)
{
    switch (location) {
    case Location::keyring:
        return QStringLiteral("keyring");
    case Location::file:
        return QStringLiteral("file");
    case Location::none:
        break;
    }
    return QString();
}

std::optional<PasscodeStore::Location> PasscodeStore::fromName(const QString &name)
{
    for (const Location location : {Location::keyring, Location::file}) {
        if (name == PasscodeStore::name(location))
            return location;
    }
    return std::nullopt;
}

bool PasscodeStore::record(Location location)
{
    if (UserDefaults::setPasscodeStore(name(location)))
        return true;
    logError(QStringLiteral("Cannot record where the passcode lives"), QStringLiteral(__FILE__),
             QStringLiteral("record"));
    return false;
}

CredentialBackend &PasscodeStore::at(Location location)
{
    return location == Location::file ? *m_file : *m_keyring;
}

QString PasscodeStore::describe(Location location) const
{
    return location == Location::file ? QStringLiteral("the credentials file ") + m_fileDescription
                                      : QStringLiteral("the desktop keyring");
}

PasscodeStore::Location PasscodeStore::passcodeLocation()
{
    Location where = recorded();
    if (where == Location::none) {
        CredentialResult found = discover(KeyChainHelper::account, where);
        wipeSecret(found.secret);
    }
    return where;
}

CredentialResult PasscodeStore::read(const QString &account)
{
    if (account != KeyChainHelper::account) {
        const Location where = passcodeLocation();
        return where == Location::none ? CredentialResult::notFound() : at(where).read(account);
    }
    const Location location = recorded();
    if (location == Location::none) {
        Location where = Location::none;
        return discover(account, where);
    }
    CredentialResult result = at(location).read(account);
    if (result.status != Status::notFound)
        return result;
    // The record says the passcode went there: "no such item" is a keyring that did not give it
    // (a dismissed unlock prompt answers so), or a file that went missing, never "no passcode".
    return CredentialResult::failure(
        MissingItem, location == Location::keyring
                         ? QStringLiteral("the desktop keyring did not give the passcode it holds (was its "
                                          "unlock prompt dismissed?)")
                         : describe(location) + QStringLiteral(" holds no passcode any more"));
}

CredentialResult PasscodeStore::discover(const QString &account, Location &where)
{
    const CredentialResult fromKeyring = m_keyring->read(account);
    if (fromKeyring.succeeded()) {
        where = Location::keyring;
        return fromKeyring;
    }
    const CredentialResult fromFile = m_file->read(account);
    if (fromFile.succeeded())
        where = Location::file;
    if (fromFile.status != Status::notFound)
        return fromFile;
    // Neither gave a passcode: "none" needs proof that no vault could need one.
    const VaultPresence presence = m_vaultPresence();
    if (!presence.mayExist)
        return CredentialResult::notFound();
    if (fromKeyring.status != Status::notFound)
        return fromKeyring;
    return CredentialResult::failure(MissingItem,
                                     QStringLiteral("no passcode was found, but ") + presence.reason);
}

CredentialResult PasscodeStore::write(const QString &account, const QByteArray &secret)
{
    // Other items live where the passcode lives and never move the record.
    if (account != KeyChainHelper::account) {
        const Location where = passcodeLocation();
        return where == Location::none
                   ? CredentialResult::failure(MissingItem, QStringLiteral("no passcode is stored"))
                   : at(where).write(account, secret);
    }
    const Location location = recorded();
    if (location == Location::none)
        return writeWithoutRecord(account, secret);
    return at(location).write(account, secret);
}

CredentialResult PasscodeStore::writeWithoutRecord(const QString &account, const QByteArray &secret)
{
    const CredentialResult toKeyring = m_keyring->write(account, secret);
    if (toKeyring.succeeded()) {
        record(Location::keyring);
        m_file->remove(account); // a copy from a day without a keyring must not be found later
        return toKeyring;
    }
    // The file only where no keyring exists, and never while vault folders may need a passcode
    // that a keyring out of reach holds.
    if (!KeychainCredentialBackend::meansNoKeyring(toKeyring) || m_vaultPresence().mayExist)
        return toKeyring;
    static std::atomic<bool> told = false;
    if (!told.exchange(true))
        logInfo(QStringLiteral("No desktop keyring answered (") + toKeyring.message +
                QStringLiteral("); the passcode is kept in ") + m_fileDescription);
    const CredentialResult toFile = m_file->write(account, secret);
    if (toFile.succeeded())
        record(Location::file);
    return toFile;
}

CredentialResult PasscodeStore::remove(const QString &account)
{
    if (account != KeyChainHelper::account) {
        const Location where = passcodeLocation();
        return where == Location::none ? CredentialResult::success() : at(where).remove(account);
    }
    const Location location = recorded();
    if (location != Location::none) {
        const CredentialResult result = at(location).remove(account);
        if (result.succeeded())
            record(Location::none);
        return result;
    }
    const CredentialResult fromKeyring = m_keyring->remove(account);
    const CredentialResult fromFile = m_file->remove(account);
    return fromKeyring.succeeded() || KeychainCredentialBackend::meansNoKeyring(fromKeyring) ? fromFile
                                                                                             : fromKeyring;
}

QString PasscodeStore::reasonToKeep()
{
    const VaultPresence presence = m_vaultPresence();
    return presence.mayExist ? presence.reason : QString();
}

CredentialResult PasscodeStore::relocate(const QString &account, Location target)
{
    Location from = recorded();
    CredentialResult current = from == Location::none ? discover(account, from) : at(from).read(account);
    if (!current.succeeded())
        return current;
    if (from == target)
        return record(target)
                   ? CredentialResult::success()
                   : CredentialResult::failure(0, QStringLiteral("cannot record where the passcode lives"));
    const CredentialResult written = at(target).write(account, current.secret);
    if (!written.succeeded()) {
        wipeSecret(current.secret);
        return written;
    }
    CredentialResult check = at(target).read(account);
    const bool same = check.succeeded() && check.secret == current.secret;
    wipeSecret(check.secret);
    wipeSecret(current.secret);
    if (!same || !record(target)) {
        at(target).remove(account);
        return CredentialResult::failure(
            0, same ? QStringLiteral("cannot record where the passcode lives")
                    : QStringLiteral("the passcode did not read back the same from ") + describe(target));
    }
    const CredentialResult removed = at(from).remove(account);
    if (removed.succeeded())
        return CredentialResult::success();
    // Never read again, since the record points elsewhere; but the person should know.
    CredentialResult note = CredentialResult::success();
    note.message =
        QStringLiteral("the old copy in %1 could not be removed: %2").arg(describe(from), removed.message);
    return note;
}
