#include "app/ScenePhaseMonitor.h"

#include "core/Logging.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <array>
#include <atomic>

namespace {

const QString LoginService = QStringLiteral("org.freedesktop.login1");
const QString LoginPath = QStringLiteral("/org/freedesktop/login1");
const QString LoginManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString LoginSession = QStringLiteral("org.freedesktop.login1.Session");
const QString ScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString ScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString BusService = QStringLiteral("org.freedesktop.DBus");
const QString BusPath = QStringLiteral("/org/freedesktop/DBus");

enum class Unreachable { systemBus, logind, sessionBus, screenSaver, count };

const QString NoSystemBus =
    QStringLiteral("the system bus is not reachable; session locks and sleep go unnoticed: ");
const QString NoLogind = QStringLiteral("logind is not reachable; session locks go unnoticed: ");
const QString NoSessionBus =
    QStringLiteral("the session bus is not reachable; the screen saver goes unnoticed: ");
const QString NoScreenSaver =
    QStringLiteral("org.freedesktop.ScreenSaver is not reachable; only logind reports locks");

void logUnreachableOnce(Unreachable what, const QString &line)
{
    static std::array<std::atomic<bool>, std::size_t(Unreachable::count)> logged{};
    if (!logged[std::size_t(what)].exchange(true))
        logInfo(line);
}

QString connectionName(const char *bus)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("lumisera-scene-phase-%1-%2").arg(QLatin1String(bus)).arg(++counter);
}

// Menus, tooltips and splash screens come and go with the main windows; they do not count.
bool isMainKind(const QWindow *window)
{
    switch (window->type()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Drawer:
        return true;
    default:
        return false;
    }
}

bool isShown(const QWindow *window)
{
    return isMainKind(window) && window->isVisible() && !(window->windowStates() & Qt::WindowMinimized);
}

bool anyWindowShown()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(), isShown);
}

} // namespace

ScenePhaseMonitor::ScenePhaseMonitor(QObject *parent, Buses buses)
    : QObject(parent), m_systemBusName(connectionName("system")), m_sessionBusName(connectionName("session"))
{
    if (qGuiApp)
        watchApplication();
    m_phase = derivedPhase();
    if (buses == Buses::now)
        watchBuses();
}

void ScenePhaseMonitor::watchBuses()
{
    if (m_watchingBuses)
        return;
    m_watchingBuses = true;
    watchSystemBus();
    watchSessionBus();
}

// Our own named connections: a bus that was missing is tried afresh by the next monitor.
ScenePhaseMonitor::~ScenePhaseMonitor()
{
    QDBusConnection::disconnectFromBus(m_systemBusName);
    QDBusConnection::disconnectFromBus(m_sessionBusName);
}

void ScenePhaseMonitor::setApplicationState(Qt::ApplicationState state)
{
    m_applicationState = state;
    if (state == Qt::ApplicationActive)
        m_awayUntilActive = false;
    update();
}

void ScenePhaseMonitor::setWindowsHidden(bool hidden)
{
    m_windowsHidden = hidden;
    update();
}

void ScenePhaseMonitor::sessionLocked()
{
    stayInBackgroundUntilActive();
}

void ScenePhaseMonitor::prepareForSleep(bool start)
{
    if (start)
        stayInBackgroundUntilActive();
}

void ScenePhaseMonitor::screenSaverActiveChanged(bool active)
{
    if (active)
        stayInBackgroundUntilActive();
}

// Windows are looked at after the event, once their new state has settled; a window made later
// is seen the same way.
bool ScenePhaseMonitor::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        scheduleWindowScan();
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        userActed();
        break;
    default:
        break;
    }
    return false;
}

void ScenePhaseMonitor::watchApplication()
{
    m_applicationState = QGuiApplication::applicationState();
    m_windowsHidden = !anyWindowShown();
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            &ScenePhaseMonitor::setApplicationState);
    qGuiApp->installEventFilter(this);
}

// connectToBus(SystemBus) goes where DBUS_SYSTEM_BUS_ADDRESS points, else to the machine's bus.
// Subscribing names the services, so that no other sender can fake their signals.
void ScenePhaseMonitor::watchSystemBus()
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SystemBus, m_systemBusName);
    if (!bus.isConnected()) {
        logUnreachableOnce(Unreachable::systemBus, NoSystemBus + bus.lastError().message());
        return;
    }
    bus.connect(LoginService, LoginPath, LoginManager, QStringLiteral("PrepareForSleep"), this,
                SLOT(prepareForSleep(bool)));
    // logind signals Lock on the session's real object path. "auto" names the session this process
    // runs in or, when it was started outside one (a user service, D-Bus activation), the user's
    // graphical session; GetSessionByPID would fail there, and the ".../session/auto" object never
    // emits anything itself.
    QDBusMessage call =
        QDBusMessage::createMethodCall(LoginService, LoginPath, LoginManager, QStringLiteral("GetSession"));
    call << QStringLiteral("auto");
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ScenePhaseMonitor::followLoginSession);
}

void ScenePhaseMonitor::watchSessionBus()
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_sessionBusName);
    if (!bus.isConnected()) {
        logUnreachableOnce(Unreachable::sessionBus, NoSessionBus + bus.lastError().message());
        return;
    }
    // Connected whether or not the service runs now: a screen saver that starts later is heard too.
    bus.connect(ScreenSaverService, ScreenSaverPath, ScreenSaverService, QStringLiteral("ActiveChanged"),
                this, SLOT(screenSaverActiveChanged(bool)));
    QDBusMessage call =
        QDBusMessage::createMethodCall(BusService, BusPath, BusService, QStringLiteral("NameHasOwner"));
    call << ScreenSaverService;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ScenePhaseMonitor::checkScreenSaver);
}

void ScenePhaseMonitor::followLoginSession(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) {
        logUnreachableOnce(Unreachable::logind, NoLogind + reply.error().message());
        return;
    }
    QDBusConnection(m_systemBusName)
        .connect(LoginService, reply.value().path(), LoginSession, QStringLiteral("Lock"), this,
                 SLOT(sessionLocked()));
}

void ScenePhaseMonitor::checkScreenSaver(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    const QDBusPendingReply<bool> reply = *call;
    if (reply.isError() || !reply.value())
        logUnreachableOnce(Unreachable::screenSaver, NoScreenSaver);
}

void ScenePhaseMonitor::scheduleWindowScan()
{
    if (m_windowScanPending)
        return;
    m_windowScanPending = true;
    QMetaObject::invokeMethod(this, &ScenePhaseMonitor::scanWindows, Qt::QueuedConnection);
}

void ScenePhaseMonitor::scanWindows()
{
    m_windowScanPending = false;
    setWindowsHidden(!anyWindowShown());
}

// Some screen lockers grab the keyboard without taking the focus, so the application never
// reports a change when they go. Typing or clicking in a window while it is the active
// application shows that a window of it has the focus again.
void ScenePhaseMonitor::userActed()
{
    if (m_awayUntilActive && m_applicationState == Qt::ApplicationActive && !m_windowsHidden)
        setApplicationState(Qt::ApplicationActive);
}

void ScenePhaseMonitor::stayInBackgroundUntilActive()
{
    m_awayUntilActive = true;
    update();
}

ScenePhaseMonitor::ScenePhase ScenePhaseMonitor::derivedPhase() const
{
    if (m_awayUntilActive || m_windowsHidden)
        return ScenePhase::background;
    switch (m_applicationState) {
    case Qt::ApplicationActive:
        return ScenePhase::active;
    case Qt::ApplicationInactive:
        return ScenePhase::inactive;
    case Qt::ApplicationHidden:
    case Qt::ApplicationSuspended:
        break;
    }
    return ScenePhase::background;
}

void ScenePhaseMonitor::update()
{
    const ScenePhase next = derivedPhase();
    if (next == m_phase)
        return;
    m_phase = next;
    Q_EMIT phaseChanged(next);
}
