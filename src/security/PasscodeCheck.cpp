#include "security/PasscodeCheck.h"

#include "security/KeyChainHelper.h"
#include "security/SecretWipe.h"

#include <openssl/crypto.h>

PasscodeCheck PasscodeCheck::againstStore(const QString &typed, KeyChainHelper &keys)
{
    return againstLookup(typed, keys.lookUp());
}

PasscodeCheck PasscodeCheck::againstLookup(const QString &typed, KeyChainHelper::Lookup stored)
{
    if (stored.state == KeyChainHelper::PasscodeState::unavailable)
        return {Outcome::unavailable, stored.problem};
    if (!stored.passcode)
        return {Outcome::mismatch, {}};
    const bool same = samePasscode(*stored.passcode, typed);
    wipeSecret(*stored.passcode);
    return {same ? Outcome::match : Outcome::mismatch, {}};
}

bool PasscodeCheck::samePasscode(const QString &a, const QString &b)
{
    return a.size() == b.size() &&
           CRYPTO_memcmp(a.constData(), b.constData(), size_t(a.size()) * sizeof(QChar)) == 0;
}

PasscodeCheck PasscodeCheck::againstSession(const QString &typed, const VaultSession &session)
{
    if (!session.isOpen())
        return {Outcome::unavailable, QStringLiteral("the vault is locked")};
    return {session.holdsKey(typed) ? Outcome::match : Outcome::mismatch, {}};
}
