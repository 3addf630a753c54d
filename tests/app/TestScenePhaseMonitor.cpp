#include "LogCapture.h"
#include "TestHome.h"
#include "app/ScenePhaseMonitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QMetaEnum>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/prctl.h>

using Phase = ScenePhaseMonitor::ScenePhase;

namespace {

const QString LoginService = QStringLiteral("org.freedesktop.login1");
const QString LoginPath = QStringLiteral("/org/freedesktop/login1");
const QString SessionPath = QStringLiteral("/org/freedesktop/login1/session/_7");
const QString ScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");

// A bus listening at %1, on which anyone may own any name, as the test's services must.
const char BusConfig[] = R"(<busconfig><type>session</type><listen>%1</listen><auth>EXTERNAL</auth>
    <policy context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/>
    </policy></busconfig>)";

// As if the application had just been brought up with its window focused.
void makeActive(ScenePhaseMonitor &monitor)
{
    monitor.setWindowsHidden(false);
    monitor.setApplicationState(Qt::ApplicationActive);
}

const QHash<QString, std::function<void(ScenePhaseMonitor &)>> Events = {
    {"focus-out", [](ScenePhaseMonitor &m) { m.setApplicationState(Qt::ApplicationInactive); }},
    {"focus-in", [](ScenePhaseMonitor &m) { m.setApplicationState(Qt::ApplicationActive); }},
    {"app-hidden", [](ScenePhaseMonitor &m) { m.setApplicationState(Qt::ApplicationHidden); }},
    {"windows-hidden", [](ScenePhaseMonitor &m) { m.setWindowsHidden(true); }},
    {"windows-shown", [](ScenePhaseMonitor &m) { m.setWindowsHidden(false); }},
    {"lock", [](ScenePhaseMonitor &m) { m.sessionLocked(); }},
    {"sleep", [](ScenePhaseMonitor &m) { m.prepareForSleep(true); }},
    {"wake", [](ScenePhaseMonitor &m) { m.prepareForSleep(false); }},
    {"saver-on", [](ScenePhaseMonitor &m) { m.screenSaverActiveChanged(true); }},
    {"saver-off", [](ScenePhaseMonitor &m) { m.screenSaverActiveChanged(false); }},
};

std::unique_ptr<QWindow> shownWindow(Qt::WindowType type)
{
    auto window = std::make_unique<QWindow>();
    window->setFlags(type);
    window->resize(120, 80);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("window not exposed");
    return window;
}

// Answers the one question the monitor asks logind.
class FakeLoginManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public Q_SLOTS:
    QDBusObjectPath GetSession(const QString &) { return QDBusObjectPath(SessionPath); }
};

} // namespace

class TestScenePhaseMonitor : public QObject
{
    Q_OBJECT
public:
    TestScenePhaseMonitor()
    {
        // libdbus reads these once, at the first connection of the process: both point into the
        // test's folder from the start, and nothing listens there until the buses are started.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", QFile::encodeName(m_addresses[0]));
        qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName(m_addresses[1]));
    }

private Q_SLOTS:
    // Runs first: what is unreachable is logged once per process.
    void unreachableIsLoggedOnceAndTheSeamStillWorks_data()
    {
        QTest::addColumn<bool>("buses");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("no buses") << false
                                  << QStringList{"the system bus is not reachable; ",
                                                 "the session bus is not reachable; "};
        QTest::newRow("buses without the services")
            << true
            << QStringList{"logind is not reachable; ", "org.freedesktop.ScreenSaver is not reachable; "};
    }

    void unreachableIsLoggedOnceAndTheSeamStillWorks()
    {
        QFETCH(bool, buses);
        QFETCH(QStringList, lines);
        if (buses)
            startBuses();
        LogCapture capture;
        ScenePhaseMonitor first;
        ScenePhaseMonitor second;
        for (const QString &line : lines)
            QTRY_COMPARE(capture.infos().filter(line).size(), 1);
        makeActive(second);
        QCOMPARE(second.phase(), Phase::active);
    }

    // Events and the phases they lead to, from an active start.
    void phaseFollowsEvents_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("phases");
        const auto row = [](const char *tag, const char *events, const char *phases) {
            QTest::newRow(tag) << QString(events) << QString(phases);
        };
        row("focus lost twice, then back", "focus-out focus-out focus-in", "inactive active");
        row("all windows minimised or hidden, then shown", "focus-out windows-hidden windows-shown focus-in",
            "inactive background inactive active");
        row("focus back before the windows show", "windows-hidden focus-out focus-in windows-shown",
            "background active");
        row("focus back with the windows still hidden", "windows-hidden lock focus-in", "background");
        row("application hidden", "app-hidden focus-in", "background active");
        row("session locked, focus lost and back", "lock focus-out focus-in", "background active");
        row("locked while inactive: showing windows is not enough",
            "focus-out lock windows-hidden windows-shown focus-in", "inactive background active");
        row("about to sleep: waking is not enough", "sleep wake focus-out focus-in", "background active");
        row("screen saver on: off again is not enough", "saver-on saver-off focus-out focus-in",
            "background active");
        row("PrepareForSleep(false) and ActiveChanged(false) change nothing",
            "wake saver-off focus-out wake saver-off", "inactive");
    }

    void phaseFollowsEvents()
    {
        QFETCH(QString, events);
        QFETCH(QString, phases);
        ScenePhaseMonitor monitor;
        makeActive(monitor);
        QStringList changes;
        connect(&monitor, &ScenePhaseMonitor::phaseChanged, this,
                [&](Phase phase) { changes << QMetaEnum::fromType<Phase>().valueToKey(int(phase)); });
        for (const QString &event : events.split(' '))
            Events.value(event)(monitor);
        QCOMPARE(changes.join(' '), phases);
    }

    void busSignalsSendToBackground_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QDBusMessage>("signal");
        const auto row = [](const char *tag, const QString &service, const QString &path,
                            const QString &interface, const QString &member, const QVariantList &arguments) {
            QDBusMessage signal = QDBusMessage::createSignal(path, interface, member);
            signal.setArguments(arguments);
            QTest::newRow(tag) << service << signal;
        };
        row("logind Lock", LoginService, SessionPath, "org.freedesktop.login1.Session", "Lock", {});
        row("logind PrepareForSleep(true)", LoginService, LoginPath, "org.freedesktop.login1.Manager",
            "PrepareForSleep", {true});
        row("ScreenSaver ActiveChanged(true)", ScreenSaverService, "/org/freedesktop/ScreenSaver",
            ScreenSaverService, "ActiveChanged", {true});
    }

    void busSignalsSendToBackground()
    {
        QFETCH(QString, service);
        QFETCH(QDBusMessage, signal);
        startBuses();
        // The test owns the name, as the service would: the monitor only hears signals from its owner.
        QDBusConnection sender =
            QDBusConnection::connectToBus(m_addresses[service == LoginService ? 0 : 1], "test-" + service);
        FakeLoginManager manager;
        QVERIFY(sender.registerService(service) &&
                sender.registerObject(LoginPath, &manager, QDBusConnection::ExportAllSlots));
        ScenePhaseMonitor monitor;
        makeActive(monitor);
        // The monitor subscribes without waiting, so the first signals may go unheard: send until one is.
        QTRY_VERIFY((sender.send(signal), monitor.phase() == Phase::background));
    }

    void windowsAreFollowed_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("otherType"); // a window left shown; 0: none
        QTest::addColumn<bool>("background");
        QTest::newRow("minimised") << "minimise" << 0 << true;
        QTest::newRow("destroyed") << "destroy" << 0 << true;
        QTest::newRow("hidden, a dialog still shown") << "hide" << int(Qt::Dialog) << false;
        QTest::newRow("minimised, another window still shown") << "minimise" << int(Qt::Window) << false;
        QTest::newRow("hidden, only a tooltip left") << "hide" << int(Qt::ToolTip) << true;
        QTest::newRow("hidden, only a popup left") << "hide" << int(Qt::Popup) << true;
        // Some lockers take no focus: typing in the window afterwards shows it has it again.
        QTest::newRow("typed in after a lock") << "lock, type" << 0 << false;
    }

    void windowsAreFollowed()
    {
        QFETCH(QString, action);
        QFETCH(int, otherType);
        QFETCH(bool, background);
        ScenePhaseMonitor monitor;
        QCOMPARE(monitor.phase(), Phase::background); // no window shown yet
        // Made after the monitor, as the application's windows are.
        auto window = shownWindow(Qt::Window);
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_COMPARE(monitor.phase(), Phase::active);
        std::unique_ptr<QWindow> other = otherType ? shownWindow(Qt::WindowType(otherType)) : nullptr;
        if (action == "hide")
            window->hide();
        else if (action == "minimise")
            window->showMinimized();
        else if (action == "destroy")
            window.reset();
        else {
            monitor.sessionLocked();
            QTest::keyClick(window.get(), Qt::Key_Space);
        }
        // The platform reports a new window state later; the monitor looks at the windows after that.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(&monitor, QEvent::MetaCall);
        QCOMPARE(monitor.phase() == Phase::background, background);
    }

    void cleanupTestCase()
    {
        for (QProcess &bus : m_buses) {
            bus.terminate();
            bus.waitForFinished();
        }
    }

private:
    void startBuses()
    {
        for (int bus : {0, 1}) {
            if (m_buses[bus].state() != QProcess::NotRunning)
                continue;
            QFile config(m_busFolder.filePath(QString::number(bus) + ".conf"));
            QVERIFY(config.open(QIODevice::WriteOnly));
            config.write(QString::fromLatin1(BusConfig).arg(m_addresses[bus]).toUtf8());
            config.close();
            // A test that crashes must not leave its daemon behind.
            m_buses[bus].setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
            m_buses[bus].start("dbus-daemon",
                               {"--config-file=" + config.fileName(), "--nofork", "--print-address"});
            // The address is printed once the daemon listens.
            QVERIFY(m_buses[bus].waitForStarted() && m_buses[bus].waitForReadyRead(10000));
        }
    }

    const QTemporaryDir m_busFolder;
    // The system bus, then the session bus.
    const QString m_addresses[2] = {"unix:path=" + m_busFolder.filePath("system"),
                                    "unix:path=" + m_busFolder.filePath("session")};
    QProcess m_buses[2];
};

LUMISERA_TEST_MAIN(TestScenePhaseMonitor)
#include "TestScenePhaseMonitor.moc"
