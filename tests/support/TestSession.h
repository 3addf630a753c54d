#pragma once

#include "security/KeyChainHelper.h"
#include "security/VaultSession.h"

// The vault session a test works under, as the window hands one to what needs the key.
inline VaultSessionPtr &testSession()
{
    static VaultSessionPtr session;
    return session;
}

// Opens a new test session with `passcode` (a previous one ends).
inline VaultSessionPtr openTestSession(const QString &passcode)
{
    if (testSession())
        testSession()->end();
    testSession() = VaultSession::open(passcode);
    return testSession();
}

// Unlocks the vault as the main screen does; its session becomes the test's session.
inline VaultSessionPtr unlockVaultForTest(const QString &passcode)
{
    KeyChainHelper &keys = KeyChainHelper::shared();
    testSession() = keys.unlock(passcode, keys.lockGeneration());
    return testSession();
}
