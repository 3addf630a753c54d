#pragma once

#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

// `lumisera-vault quote`: the quote text on the first line, its author on the second, for
// desktop widgets and status bars. Needs no passcode.
class QuoteCommand
{
    Q_DECLARE_TR_FUNCTIONS(QuoteCommand)

public:
    static QString summary();
    static int run(const CommandLine::GlobalOptions &options, const QStringList &arguments, QTextStream &out,
                   QTextStream &err);
    static void printHelp(QTextStream &stream);
};
