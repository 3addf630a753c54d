#pragma once

#include "app/IdleMonitor.h"
#include "app/ScenePhaseMonitor.h"
#include "quote/QuoteSource.h"
#include "security/Biometrics.h"
#include "ui/common/ScreenPrivacyMonitor.h"
#include "ui/main/MainScreenState.h"

#include <QObject>
#include <memory>

class MainWindow;

// The application object: what lives as long as the process beside the window — the privacy
// monitor, the phase, the fingerprint reader, the main screen's state — and the start-up task.
// Leaving the active phase locks the vault, except for focus going to a file chooser Lumisera
// opened; so does the desktop going idle for longer than "Lock When Idle".
class Application : public QObject
{
    Q_OBJECT
public:
    explicit Application(QObject *parent = nullptr);
    ~Application() override;

    // The start-up task: the hourly quote refresher, the first-start defaults, the colour scheme,
    // the window, and the passcode check (which never holds the window up).
    void start();

    MainWindow *window() const { return m_window.get(); }
    MainScreenState *mainScreen() { return &m_state; }
    ScenePhaseMonitor *phaseMonitor() { return &m_phase; }
    IdleMonitor *idleMonitor() { return &m_idle; }
    ScreenPrivacyMonitor *privacyMonitor() { return &m_privacyMonitor; }
    Biometrics *biometrics() { return &m_biometrics; }

public Q_SLOTS:
    // A second start asked for the window, with the activation token the desktop gave it (or
    // nothing): on Wayland the compositor lets a window take the focus only with such a token.
    void raiseWindow(const QString &activationToken = QString());
    // Ctrl+Q: the vault locks first, as when the window closes, so nothing waits on the way out.
    void quit();

private:
    void onPhaseChanged(ScenePhaseMonitor::ScenePhase phase);
    void onLoadedKeyChanged();
    void lock();
    void lockIfStillInactive();
    void watchIdleTime();

    ScreenPrivacyMonitor m_privacyMonitor;
    QuoteSource m_quotes;
    Biometrics m_biometrics;
    ScenePhaseMonitor m_phase;
    IdleMonitor m_idle;
    MainScreenState m_state;
    std::unique_ptr<MainWindow> m_window;
};
