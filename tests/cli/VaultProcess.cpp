#include "VaultProcess.h"

#include <QProcess>

QProcessEnvironment withoutSessionBus()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=/nonexistent/bus"));
    return environment;
}

VaultOutcome runVault(const QStringList &arguments, const QString &input, const QString &workingDirectory,
                      const QProcessEnvironment &environment, const std::function<void()> &childSetup)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(LUMISERA_VAULT_BINARY), QStringList{"--passcode-stdin"} + arguments);
    process.write(input.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
