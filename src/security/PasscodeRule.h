#pragma once

#include <QString>

// The strength rule a new passcode must meet before it is stored. The passcode setup screen
// and `lumisera-vault init` both ask here, so a passcode one accepts the other accepts too.
class PasscodeRule
{
public:
    PasscodeRule() = delete;

    // Empty when the two entries are acceptable, otherwise why not.
    static QString refusal(const QString &passcode, const QString &repeated);
    static bool accepts(const QString &passcode, const QString &repeated)
    {
        return refusal(passcode, repeated).isEmpty();
    }

    static constexpr int minimumLength = 8;
};
