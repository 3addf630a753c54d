#include "cli/CommandLine.h"
#include "core/InterruptCleanup.h"
#include "core/ProcessHardening.h"
#include "i18n/Translations.h"

#include <QCoreApplication>
#include <QLoggingCategory>

int main(int argc, char **argv)
{
    ProcessHardening::apply();
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvenda"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumisera"));
    Translations::install(app);
    // The command speaks for itself on standard error; the diagnostics stay quiet unless
    // QT_LOGGING_RULES asks for them.
    QLoggingCategory::setFilterRules(QStringLiteral("com.morvenda.Journey*=false"));
    // An interrupted command takes its partial files along.
    InterruptCleanup::installHandlers();
    return CommandLine().run(QCoreApplication::arguments().mid(1));
}
