#include "LogCapture.h"
#include "ScenePhaseMonitor.h"
#include "TestHome.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QMetaEnum>
#include <QProcess>
#include <QSignalSpy>
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

QString nameOf(Phase phase)
{
    return QString::fromLatin1(QMetaEnum::fromType<Phase>().valueToKey(int(phase)));
}

QStringList phasesIn(const QSignalSpy &spy)
{
    QStringList names;
    for (const QList<QVariant> &arguments : spy)
        names.append(nameOf(arguments.at(0).value<Phase>()));
    return names;
}

int linesContaining(const LogCapture &capture, const QString &fragment)
{
    return int(capture.infos().filter(fragment).size());
}

// As if the application had just been brought up with its window focused.
void makeActive(ScenePhaseMonitor &monitor)
{
    monitor.setWindowsHidden(false);
    monitor.setApplicationState(Qt::ApplicationActive);
}

using Event = std::function<void(ScenePhaseMonitor &)>;

const QHash<QString, Event> &events()
{
    static const QHash<QString, Event> table = {
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
    return table;
}

// A dbus-daemon of the test's own, listening where the environment sends the monitor.
class PrivateBus
{
public:
    explicit PrivateBus(const QString &socket) : m_address(QStringLiteral("unix:path=") + socket) {}
    ~PrivateBus()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool start(const QString &configFile)
    {
        QFile config(configFile);
        if (!config.open(QIODevice::WriteOnly))
            return false;
        // Anyone may own any name, as the test's services must.
        const QString policy = QStringLiteral(R"(<busconfig><type>session</type><listen>%1</listen>
            <auth>EXTERNAL</auth><policy context="default"><allow send_destination="*"/>
            <allow receive_sender="*"/><allow own="*"/></policy></busconfig>)");
        config.write(policy.arg(m_address).toUtf8());
        config.close();
        // A test that crashes must not leave its daemon behind.
        m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + configFile, QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
        // The address is printed once the daemon listens.
        return m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10000);
    }
    const QString &address() const { return m_address; }

private:
    const QString m_address;
    QProcess m_daemon;
};

// Answers the one question the monitor asks logind.
class FakeLoginManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public Q_SLOTS:
    QDBusObjectPath GetSession(const QString &) { return QDBusObjectPath(SessionPath); }
};

// A connection of the test that owns a service's name, as the real service would, so that the
// monitor's name-bound subscriptions take its signals.
class ServiceConnection
{
public:
    ServiceConnection(const QString &address, const QString &service)
        : m_name(QStringLiteral("test-") + service), m_bus(QDBusConnection::connectToBus(address, m_name))
    {
        m_owned = m_bus.registerService(service);
    }
    ~ServiceConnection() { QDBusConnection::disconnectFromBus(m_name); }
    ServiceConnection(const ServiceConnection &) = delete;
    ServiceConnection &operator=(const ServiceConnection &) = delete;

    bool owned() const { return m_owned; }
    QDBusConnection &bus() { return m_bus; }
    void send(const QString &path, const QString &interface, const QString &member,
              const QVariantList &arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, member);
        signal.setArguments(arguments);
        m_bus.send(signal);
    }

private:
    const QString m_name;
    QDBusConnection m_bus;
    bool m_owned = false;
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
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", QFile::encodeName("unix:path=" + systemSocket()));
        qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName("unix:path=" + sessionSocket()));
    }

private Q_SLOTS:
    void missingBusesAreLoggedOnceAndTheSeamStillWorks()
    {
        LogCapture capture;
        ScenePhaseMonitor first;
        ScenePhaseMonitor second;
        QCOMPARE(linesContaining(capture, "the system bus is not reachable; "), 1);
        QCOMPARE(linesContaining(capture, "the session bus is not reachable; "), 1);
        makeActive(second);
        QCOMPARE(second.phase(), Phase::active);
        second.sessionLocked();
        QCOMPARE(second.phase(), Phase::background);
    }

    void phaseFollowsEvents_data()
    {
        QTest::addColumn<QStringList>("sequence");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *tag, const QStringList &sequence, const QStringList &expected) {
            QTest::newRow(tag) << sequence << expected;
        };
        row("focus lost", {"focus-out"}, {"inactive"});
        row("focus lost twice", {"focus-out", "focus-out"}, {"inactive"});
        row("focus lost and back", {"focus-out", "focus-in"}, {"inactive", "active"});
        row("all windows minimised or hidden", {"focus-out", "windows-hidden"}, {"inactive", "background"});
        row("windows hidden while focused", {"windows-hidden"}, {"background"});
        row("windows shown, then focus", {"focus-out", "windows-hidden", "windows-shown", "focus-in"},
            {"inactive", "background", "inactive", "active"});
        row("focus back before the windows show",
            {"windows-hidden", "focus-out", "focus-in", "windows-shown"}, {"background", "active"});
        row("application hidden", {"app-hidden", "focus-in"}, {"background", "active"});
        row("session locked", {"lock"}, {"background"});
        row("session locked, then focus returns", {"lock", "focus-out", "focus-in"},
            {"background", "active"});
        row("locked while inactive", {"focus-out", "lock", "focus-in"}, {"inactive", "background", "active"});
        row("locked: showing windows is not enough", {"lock", "windows-hidden", "windows-shown"},
            {"background"});
        row("about to sleep", {"sleep"}, {"background"});
        row("waking is not enough", {"sleep", "wake"}, {"background"});
        row("woken, then focus returns", {"sleep", "wake", "focus-out", "focus-in"},
            {"background", "active"});
        row("PrepareForSleep(false) changes nothing", {"wake"}, {});
        row("PrepareForSleep(false) while inactive", {"focus-out", "wake"}, {"inactive"});
        row("screen saver on", {"saver-on"}, {"background"});
        row("screen saver off is not enough", {"saver-on", "saver-off"}, {"background"});
        row("screen saver off changes nothing", {"saver-off"}, {});
        row("screen saver, then focus returns", {"saver-on", "focus-out", "focus-in"},
            {"background", "active"});
        row("focus returns with the windows still hidden", {"windows-hidden", "lock", "focus-in"},
            {"background"});
    }

    void phaseFollowsEvents()
    {
        QFETCH(QStringList, sequence);
        QFETCH(QStringList, expected);
        ScenePhaseMonitor monitor;
        makeActive(monitor);
        QCOMPARE(monitor.phase(), Phase::active);
        QSignalSpy spy(&monitor, &ScenePhaseMonitor::phaseChanged);
        for (const QString &event : sequence) {
            QVERIFY2(events().contains(event), qPrintable(event));
            events().value(event)(monitor);
        }
        QCOMPARE(phasesIn(spy), expected);
        QCOMPARE(nameOf(monitor.phase()), expected.isEmpty() ? QStringLiteral("active") : expected.last());
    }

    void busSignalsSendToBackground_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        QTest::newRow("logind Lock") << LoginService << SessionPath << "org.freedesktop.login1.Session"
                                     << "Lock" << QVariantList();
        QTest::newRow("logind PrepareForSleep(true)")
            << LoginService << LoginPath << "org.freedesktop.login1.Manager"
            << "PrepareForSleep" << QVariantList{true};
        QTest::newRow("ScreenSaver ActiveChanged(true)")
            << ScreenSaverService << "/org/freedesktop/ScreenSaver" << ScreenSaverService << "ActiveChanged"
            << QVariantList{true};
    }

    void busSignalsSendToBackground()
    {
        QFETCH(QString, service);
        QFETCH(QString, path);
        QFETCH(QString, interface);
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        startBuses();
        ServiceConnection logind(m_systemBus->address(), LoginService);
        ServiceConnection screenSaver(m_sessionBus->address(), ScreenSaverService);
        QVERIFY(logind.owned() && screenSaver.owned());
        FakeLoginManager manager;
        QVERIFY(logind.bus().registerObject(LoginPath, &manager, QDBusConnection::ExportAllSlots));
        ScenePhaseMonitor monitor;
        makeActive(monitor);
        QSignalSpy spy(&monitor, &ScenePhaseMonitor::phaseChanged);
        ServiceConnection &sender = service == LoginService ? logind : screenSaver;
        // The monitor subscribes without waiting for the bus, so the first signals may pass before
        // its subscription is in place: the test sends until one is heard.
        QTRY_VERIFY((sender.send(path, interface, member, arguments), monitor.phase() == Phase::background));
        QCOMPARE(phasesIn(spy).first(), QStringLiteral("background"));
        monitor.setApplicationState(Qt::ApplicationActive);
        QCOMPARE(monitor.phase(), Phase::active);
    }

    void missingServicesAreLoggedAndTheSeamStillWorks()
    {
        startBuses();
        LogCapture capture;
        ScenePhaseMonitor monitor;
        QTRY_COMPARE(linesContaining(capture, "logind is not reachable; "), 1);
        QTRY_COMPARE(linesContaining(capture, "org.freedesktop.ScreenSaver is not reachable; "), 1);
        makeActive(monitor);
        monitor.prepareForSleep(true);
        QCOMPARE(monitor.phase(), Phase::background);
    }

    void leavingTheWindowsIsFollowed_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<int>("otherType"); // a window left shown; 0: none
        QTest::addColumn<bool>("background");
        QTest::newRow("hidden") << "hide" << 0 << true;
        QTest::newRow("minimised") << "minimise" << 0 << true;
        QTest::newRow("destroyed") << "destroy" << 0 << true;
        QTest::newRow("hidden, a dialog still shown") << "hide" << int(Qt::Dialog) << false;
        QTest::newRow("minimised, another window still shown") << "minimise" << int(Qt::Window) << false;
        QTest::newRow("hidden, only a tooltip left") << "hide" << int(Qt::ToolTip) << true;
        QTest::newRow("hidden, only a popup left") << "hide" << int(Qt::Popup) << true;
    }

    void leavingTheWindowsIsFollowed()
    {
        QFETCH(QString, leave);
        QFETCH(int, otherType);
        QFETCH(bool, background);
        ScenePhaseMonitor monitor;
        QCOMPARE(monitor.phase(), Phase::background);
        // Made after the monitor, as the application's windows are.
        auto window = shownWindow(Qt::Window);
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_COMPARE(monitor.phase(), Phase::active);
        std::unique_ptr<QWindow> other = otherType ? shownWindow(Qt::WindowType(otherType)) : nullptr;
        if (leave == "hide")
            window->hide();
        else if (leave == "minimise")
            window->showMinimized();
        else
            window.reset();
        // The platform reports a new window state later; the monitor looks at the windows after that.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(&monitor, QEvent::MetaCall);
        QCOMPARE(monitor.phase() == Phase::background, background);
    }

    void typingAfterALockThatTookNoFocusMakesActive()
    {
        ScenePhaseMonitor monitor;
        QWindow window;
        window.resize(120, 80);
        window.show();
        window.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_COMPARE(monitor.phase(), Phase::active);
        monitor.sessionLocked();
        QCOMPARE(monitor.phase(), Phase::background);
        QTest::keyClick(&window, Qt::Key_Space);
        QCOMPARE(monitor.phase(), Phase::active);
    }

private:
    static std::unique_ptr<QWindow> shownWindow(Qt::WindowType type)
    {
        auto window = std::make_unique<QWindow>();
        window->setFlags(type);
        window->resize(120, 80);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("window not exposed");
        return window;
    }

    QString systemSocket() const { return m_busFolder.filePath("system"); }
    QString sessionSocket() const { return m_busFolder.filePath("session"); }

    void startBuses()
    {
        if (m_systemBus)
            return;
        m_systemBus = std::make_unique<PrivateBus>(systemSocket());
        m_sessionBus = std::make_unique<PrivateBus>(sessionSocket());
        QVERIFY(m_systemBus->start(m_busFolder.filePath("system.conf")));
        QVERIFY(m_sessionBus->start(m_busFolder.filePath("session.conf")));
    }

    QTemporaryDir m_busFolder;
    std::unique_ptr<PrivateBus> m_systemBus;
    std::unique_ptr<PrivateBus> m_sessionBus;
};

LUMISERA_TEST_MAIN(TestScenePhaseMonitor)
#include "TestScenePhaseMonitor.moc"
