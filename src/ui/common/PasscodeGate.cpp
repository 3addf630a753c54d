#include "ui/common/PasscodeGate.h"

#include "security/PasscodeCheck.h"

PasscodeGate::Answer PasscodeGate::check(const QString &typed, const VaultSession *session)
{
    const PasscodeCheck check =
        session ? PasscodeCheck::againstSession(typed, *session)
                : PasscodeCheck{PasscodeCheck::Outcome::unavailable, QStringLiteral("the vault is locked")};
    const QString problem =
        check.isUnavailable() ? tr("The passcode could not be checked: %1").arg(check.problem) : QString();
    if (problem != m_problem) {
        m_problem = problem;
        Q_EMIT problemChanged();
    }
    if (check.isUnavailable())
        return Answer::unchecked;
    return check.matches() ? Answer::open : Answer::wrong;
}
