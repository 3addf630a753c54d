#pragma once

#include "security/KeyChainHelper.h"
#include "security/VaultSession.h"

#include <QString>

// The one comparison of a typed passcode, behind unlocking, the share dialog, Modify Folder and
// the command line. The passcode is compared exactly as typed (no trimming) and in constant time.
struct PasscodeCheck
{
    enum class Outcome { match, mismatch, unavailable };

    Outcome outcome = Outcome::mismatch;
    // Which store could not answer, and why, for a person to read (unavailable only).
    QString problem;

    bool matches() const { return outcome == Outcome::match; }
    bool isUnavailable() const { return outcome == Outcome::unavailable; }

    // Against the stored passcode. Synchronous and possibly slow (a locked keyring asks its owner):
    // run it off the main thread. "No passcode set" is a mismatch.
    static PasscodeCheck againstStore(const QString &typed, KeyChainHelper &keys);
    // Against what a look-up of the store found (KeyChainHelper::lookUp() or passcodeState()).
    static PasscodeCheck againstLookup(const QString &typed, KeyChainHelper::Lookup stored);
    // Against the passcode of an open session; an ended one is unavailable ("the vault is locked").
    static PasscodeCheck againstSession(const QString &typed, const VaultSession &session);

    // Exactly the same characters, compared in a time that does not depend on where they differ.
    static bool samePasscode(const QString &a, const QString &b);
};
