#pragma once

#include <QCoreApplication>
#include <QList>
#include <QStringList>
#include <QTextStream>
#include <functional>

// lumisera-vault: the global options, then one subcommand.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum ExitCode { Success = 0, Failure = 1, Usage = 2 };

    // Options given before the subcommand name.
    struct GlobalOptions
    {
        bool cloud = false;
        bool passcodeStdin = false;
    };
    // A subcommand gets the arguments after its name and answers an ExitCode.
    using Handler = std::function<int(const GlobalOptions &options, const QStringList &arguments,
                                      QTextStream &out, QTextStream &err)>;
    struct Command
    {
        QString name;
        QString summary;
        Handler run;
    };

    CommandLine();
    int run(const QStringList &arguments);

private:
    // Prints the folder names for bash completion when the keyring gives the passcode without a
    // prompt (FolderCompletion); silent in every case.
    int completeFolders(const GlobalOptions &options, qsizetype argumentsAfter);
    void printHelp(QTextStream &stream) const;

    QList<Command> m_commands;

    QTextStream m_out;
    QTextStream m_err;
};
