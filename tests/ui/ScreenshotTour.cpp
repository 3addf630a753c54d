// Walks the window through its screens and saves a picture of each, in light and in dark, for
// the README: scripts/screenshots.sh runs it under Xvfb. Not a test: it checks nothing.
#include "ColorScheme.h"
#include "InMemoryCredentialBackend.h"
#include "KeyChainHelper.h"
#include "MainScreenState.h"
#include "MainWindow.h"
#include "Presenter.h"
#include "Private_Lumisera_for_MacApp.h"
#include "Screen.h"
#include "SharedData.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

const QString passcode = QStringLiteral("correct horse 42");

void settle()
{
    QTest::qWait(400);
}

void shoot(const QString &folder, const QString &name)
{
    settle();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void tour(const QString &folder, const QString &scheme)
{
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    KeyChainHelper::shared().setLoadedKey(std::nullopt);
    UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
    UserDefaults::setValue(UserDefaults::Key::backgroundImage, QStringLiteral("zenStones"));
    const UserDefaults::Mode mode =
        scheme == QLatin1String("dark") ? UserDefaults::Mode::dark : UserDefaults::Mode::light;
    UserDefaults::setMode(mode);
    SharedData::shared().setColorScheme(mode);
    UserDefaults::saveQuote(
        ComposedDailyQuote{QStringLiteral("Lao Tzu"),
                           QStringLiteral("Nature does not hurry, yet everything is accomplished.")},
        QDateTime::currentDateTimeUtc());

    Private_Lumisera_for_MacApp app;
    app.start();
    MainWindow *window = app.window();
    window->move(32, 24);
    window->resize(960, 680);
    settle();
    shoot(folder, QStringLiteral("main-new-") + scheme);
    window->openSetPasscode();
    shoot(folder, QStringLiteral("passcode-setup-") + scheme);
    for (Screen *screen : window->presenter()->presented())
        window->presenter()->dismiss(screen);

    if (!KeyChainHelper::shared().saveKey(passcode)) {
        std::fprintf(stderr, "cannot save the passcode\n");
        return;
    }
    app.mainScreen()->checkPasscode();
    settle();
    shoot(folder, QStringLiteral("main-locked-") + scheme);
    app.mainScreen()->requestUnlock();
    shoot(folder, QStringLiteral("main-passcode-") + scheme);
    app.mainScreen()->submit(passcode);
    shoot(folder, QStringLiteral("main-unlocked-") + scheme);
    window->openStorage();
    shoot(folder, QStringLiteral("storage-") + scheme);
    window->openSettings();
    shoot(folder, QStringLiteral("settings-") + scheme);
}

} // namespace

int main(int argc, char **argv)
{
    TestHome home;
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    for (const QString &scheme : {QStringLiteral("light"), QStringLiteral("dark")})
        tour(folder, scheme);
    return 0;
}
