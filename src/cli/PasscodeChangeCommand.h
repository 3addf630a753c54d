#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTextStream>

class PasscodePrompt;

// `lumisera-vault passcode change [--resume]`: asks for the current passcode and the new one
// twice, then moves every file of both trees to the new passcode; Ctrl-C stops at a file and
// leaves a change that `--resume` finishes.
class PasscodeChangeCommand
{
    Q_DECLARE_TR_FUNCTIONS(PasscodeChangeCommand)

public:
    PasscodeChangeCommand(PasscodePrompt &prompt, QTextStream &out, QTextStream &err);
    int run(bool resume);

    // What every other command says while a change is unfinished.
    static QString unfinishedText();

private:
    int fail(const QString &line);

    PasscodePrompt &m_prompt;
    QTextStream &m_out;
    QTextStream &m_err;
};
