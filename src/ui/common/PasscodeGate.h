#pragma once

#include "security/VaultSession.h"

#include <QObject>
#include <QString>

// The application passcode asked for again before something changes or leaves the vault (a
// folder's PIN, shared items). Checked against the session the screen works in, so nothing
// waits for a store. A wrong passcode clears the field; one that could not be checked (the
// session ended) is no wrong passcode: the dialog says why and keeps what was typed.
class PasscodeGate : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString problem READ problem NOTIFY problemChanged)
public:
    enum class Answer { open, wrong, unchecked };
    Q_ENUM(Answer)

    using QObject::QObject;

    // Why the last passcode could not be checked; empty after any other answer.
    QString problem() const { return m_problem; }
    // Whether the field is to be emptied after this answer.
    static bool clearsField(Answer answer) { return answer != Answer::unchecked; }

    // No session, or an ended one, cannot check.
    Answer check(const QString &typed, const VaultSession *session);

Q_SIGNALS:
    void problemChanged();

private:
    QString m_problem;
};
