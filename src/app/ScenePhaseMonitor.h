#pragma once

#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

// The application's scene phase, made from what the desktop reports.
//
// active: a window of the application has focus. inactive: the focus went to another application.
// background: every window is minimised or hidden, the application is hidden, the session was
// locked, the screen saver started, or the machine is about to sleep. After a lock, the screen
// saver or sleep the phase stays background until the application is active again.
//
// The windows and the application state are followed when a QGuiApplication exists. The buses
// are reached without waiting for any service; a bus or service that cannot be reached is logged
// once per process and left out.
class ScenePhaseMonitor : public QObject
{
    Q_OBJECT
public:
    enum class ScenePhase { active, inactive, background };
    Q_ENUM(ScenePhase)

    // later: the buses are watched from watchBuses() on, so that a start-up can show its window
    // before it talks to them.
    enum class Buses { now, later };

    explicit ScenePhaseMonitor(QObject *parent = nullptr, Buses buses = Buses::now);
    ~ScenePhaseMonitor() override;
    ScenePhaseMonitor(const ScenePhaseMonitor &) = delete;
    ScenePhaseMonitor &operator=(const ScenePhaseMonitor &) = delete;

    ScenePhase phase() const { return m_phase; }
    // Once: the system bus (session lock, sleep) and the session bus (screen saver).
    void watchBuses();

public Q_SLOTS:
    // What the desktop reports. The monitor's own watchers call these; tests may call them too.
    void setApplicationState(Qt::ApplicationState state);
    void setWindowsHidden(bool hidden);
    void sessionLocked();
    void prepareForSleep(bool start);
    void screenSaverActiveChanged(bool active);

Q_SIGNALS:
    void phaseChanged(ScenePhaseMonitor::ScenePhase phase);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchApplication();
    void watchSystemBus();
    void watchSessionBus();
    void followLoginSession(QDBusPendingCallWatcher *call);
    void checkScreenSaver(QDBusPendingCallWatcher *call);
    void scheduleWindowScan();
    void scanWindows();
    void userActed();
    void stayInBackgroundUntilActive();
    ScenePhase derivedPhase() const;
    void update();

    bool m_watchingBuses = false;
    const QString m_systemBusName;
    const QString m_sessionBusName;
    Qt::ApplicationState m_applicationState = Qt::ApplicationInactive;
    bool m_windowsHidden = true;
    bool m_awayUntilActive = false;
    bool m_windowScanPending = false;
    ScenePhase m_phase = ScenePhase::background;
};
