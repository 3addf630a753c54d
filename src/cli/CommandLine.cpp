#include "CommandLine.h"

#include <cstdio>

CommandLine::CommandLine()
    : m_out(stdout),
      m_err(stderr)
{
}

int CommandLine::run(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        printHelp(m_err);
        return Usage;
    }
    if (arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("-h")) {
        printHelp(m_out);
        return Success;
    }
    m_err << "lumisera-vault: unknown command \"" << arguments.first() << "\"; see lumisera-vault --help\n";
    return Usage;
}

void CommandLine::printHelp(QTextStream &stream) const
{
    stream << "Usage: lumisera-vault [--cloud] [--passcode-stdin] COMMAND [ARGS]\n"
              "\n"
              "The command-line companion of Lumisera's vault.\n"
              "\n"
              "Options:\n"
              "  -h, --help  show this help\n";
    stream.flush();
}
