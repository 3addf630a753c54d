#pragma once

#include <QStringList>
#include <QTextStream>

// lumisera-vault: the global options, then one subcommand.
class CommandLine
{
public:
    enum ExitCode { Success = 0, Failure = 1, Usage = 2 };

    CommandLine();
    int run(const QStringList &arguments);

private:
    void printHelp(QTextStream &stream) const;

    QTextStream m_out;
    QTextStream m_err;
};
