#include "PasscodeCheck.h"

#include "KeyChainHelper.h"
#include "SecretWipe.h"

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
    // A session of its own only for the comparison in constant time; it ends here.
    const bool same = VaultSession(*stored.passcode, 0).holdsKey(typed);
    wipeSecret(*stored.passcode);
    return {same ? Outcome::match : Outcome::mismatch, {}};
}

PasscodeCheck PasscodeCheck::againstSession(const QString &typed, const VaultSession &session)
{
    if (!session.isOpen())
        return {Outcome::unavailable, QStringLiteral("the vault is locked")};
    return {session.holdsKey(typed) ? Outcome::match : Outcome::mismatch, {}};
}
