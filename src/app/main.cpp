#include "app/Application.h"
#include "app/SingleInstance.h"
#include "app/StartupProbe.h"
#include "app/TerminationSignal.h"
#include "core/AppPaths.h"
#include "core/ProcessHardening.h"
#include "i18n/Translations.h"
#include "ui/common/Symbols.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QIcon>
#include <QNetworkProxyFactory>

int main(int argc, char **argv)
{
    ProcessHardening::apply();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvenda"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumisera"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.morvenda.Lumisera"));
    // The bundled picture: the desktop finds the installed one through the desktop entry, and a
    // theme lookup here would hold the first frame up.
    QGuiApplication::setWindowIcon(
        QIcon(Symbols::bundledPicture(QStringLiteral(":/icons/128/com.morvenda.Lumisera.png"))));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QNetworkProxyFactory::setUseSystemConfiguration(true);

    // Good once, and never for the programs Lumisera starts (a mail program, a file viewer).
    const QString activationToken = SingleInstance::takeActivationToken();
    SingleInstance instance;
    if (!instance.claim())
        return instance.notifyRunning(activationToken) ? 0 : 1;
    AppPaths::clearTemporaryDirectory();
    Translations::install(app);

    Application application;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &application, &Application::raiseWindow);
    TerminationSignal termination;
    QObject::connect(&termination, &TerminationSignal::received, &application, &Application::quit);
    application.start();
    StartupProbe::watch(application.window(), QCoreApplication::arguments());
    return QApplication::exec();
}
