#include "CommandLine.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvenda"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumisera"));
    return CommandLine().run(QCoreApplication::arguments().mid(1));
}
