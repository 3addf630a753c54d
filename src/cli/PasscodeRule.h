#pragma once

#include <QString>

// The strength rule a new passcode must meet before it is stored.
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
