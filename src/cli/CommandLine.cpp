#include "cli/CommandLine.h"

#include "cli/FolderCompletion.h"
#include "cli/QuoteCommand.h"
#include "cli/VaultCommands.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

CommandLine::CommandLine()
    : m_commands{{QStringLiteral("quote"), QuoteCommand::summary(), &QuoteCommand::run}}, m_out(stdout),
      m_err(stderr)
{
    m_commands += VaultCommands::commands();
}

int CommandLine::run(const QStringList &arguments)
{
    GlobalOptions options;
    qsizetype index = 0;
    for (; index < arguments.size(); ++index) {
        const QString &argument = arguments.at(index);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            printHelp(m_out);
            return Success;
        }
        if (argument == QLatin1String("--cloud"))
            options.cloud = true;
        else if (argument == QLatin1String("--passcode-stdin"))
            options.passcodeStdin = true;
        else if (argument == QLatin1String("--complete-folders"))
            return completeFolders(options, arguments.size() - index - 1);
        else if (argument.startsWith(u'-')) {
            m_err << "lumisera-vault: "
                  << tr("unknown option \"%1\"; see lumisera-vault --help").arg(argument) << "\n";
            return Usage;
        } else
            break;
    }
    if (index == arguments.size()) {
        printHelp(m_err);
        return Usage;
    }
    for (const Command &command : m_commands) {
        if (command.name == arguments.at(index))
            return command.run(options, arguments.mid(index + 1), m_out, m_err);
    }
    m_err << "lumisera-vault: "
          << tr("unknown command \"%1\"; see lumisera-vault --help").arg(arguments.at(index)) << "\n";
    return Usage;
}

int CommandLine::completeFolders(const GlobalOptions &options, qsizetype argumentsAfter)
{
    // For the shell's completion only (not in --help): whatever goes wrong, the terminal being
    // typed on shows nothing of it.
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    if (argumentsAfter > 0)
        return Usage;
    return FolderCompletion::onSessionBus(options.cloud ? StorageLocation::cloud : StorageLocation::local)
        .run(m_out);
}

void CommandLine::printHelp(QTextStream &stream) const
{
    stream << tr("Usage: lumisera-vault [--cloud] [--passcode-stdin] COMMAND [ARGS]\n"
                 "\n"
                 "The command-line companion of Lumisera's vault.\n"
                 "\n"
                 "Options:\n"
                 "  --cloud           use the vault in the cloud container\n"
                 "  --passcode-stdin  read the passcode from the first line of standard input\n"
                 "  -h, --help        show this help\n"
                 "\n"
                 "Commands (COMMAND --help for details):\n");
    for (const Command &command : m_commands)
        stream << "  " << command.name.leftJustified(16) << command.summary << '\n';
    stream.flush();
}
