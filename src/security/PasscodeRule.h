#pragma once

#include <QCoreApplication>
#include <QString>

// The strength rule a new passcode must meet before it is stored. The passcode setup screen
// and `lumisera-vault init` both ask here, so a passcode one accepts the other accepts too.
class PasscodeRule
{
    Q_DECLARE_TR_FUNCTIONS(PasscodeRule)

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
