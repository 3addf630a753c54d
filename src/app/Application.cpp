#include "app/Application.h"

#include "app/FirstFrame.h"

#include "core/Logging.h"
#include "core/SharedData.h"
#include "core/UserDefaults.h"
#include "quote/QuoteRefresher.h"
#include "security/KeyChainHelper.h"
#include "storage/ImageFromDecodedData.h"
#include "storage/ShareFolder.h"
#include "ui/common/ColorScheme.h"
#include "ui/common/FileChooser.h"
#include "ui/common/Presenter.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {
// The desktop's chooser answers before the focus comes back to Lumisera's window.
constexpr int ChooserFocusGraceMs = 2000;
} // namespace

Application::Application(QObject *parent)
    : QObject(parent), m_phase(nullptr, ScenePhaseMonitor::Buses::later), m_state(&m_quotes, &m_biometrics)
{
    connect(&m_phase, &ScenePhaseMonitor::phaseChanged, this, &Application::onPhaseChanged);
    connect(&KeyChainHelper::shared(), &KeyChainHelper::loadedKeyChanged, this,
            &Application::onLoadedKeyChanged);
    connect(&m_state, &MainScreenState::schemeApplied, this,
            [](UserDefaults::Mode mode) { ColorScheme::apply(mode); });
    // Shared copies stay while the application they went to may read them, but not past Lumisera.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        lock();
        ShareFolder::removeAll();
    });
    watchIdleTime();
}

Application::~Application() = default;

void Application::start()
{
    QuoteRefresher::shared().startRefreshTimer();
    UserDefaults::applyFirstStartDefaults();
    ColorScheme::apply(SharedData::shared().colorScheme());
    m_window = std::make_unique<MainWindow>(&m_state);
    m_window->setPrivacyMonitor(&m_privacyMonitor);
    connect(m_window.get(), &MainWindow::quitRequested, this, &Application::quit);
    m_window->show();
    // The buses, the fingerprint reader and the keyring once the window is up: the vault is
    // locked until then anyway.
    FirstFrame::then(m_window.get(), [this] {
        m_phase.watchBuses();
        m_idle.detect(IdleMonitor::desktopSources());
        m_state.checkPasscode();
        // A day whose quote could not be fetched (offline at the last try) is asked again now; a
        // day already served costs no network access.
        QuoteRefresher::shared().fireTimer();
    });
    if (SharedData::shared().documentFolder().isEmpty()) {
        auto *alert = new QMessageBox(QMessageBox::Warning, tr("Directory not accessible"),
                                      tr("Document directory not found, can't download updates."),
                                      QMessageBox::Ok, m_window.get());
        alert->setAttribute(Qt::WA_DeleteOnClose);
        alert->open();
    }
}

void Application::raiseWindow(const QString &activationToken)
{
    if (!m_window)
        return;
    logInfo(activationToken.isEmpty() ? QStringLiteral("raiseWindow: without an activation token")
                                      : QStringLiteral("raiseWindow: with an activation token"));
    // QtWayland hands this variable's token to the compositor with the activation request.
    if (!activationToken.isEmpty() && QGuiApplication::platformName() == u"wayland")
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toLatin1());
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
    // A compositor without activation leaves it unused: it must not reach the programs started later.
    qunsetenv("XDG_ACTIVATION_TOKEN");
}

void Application::quit()
{
    lock();
    QCoreApplication::quit();
}

void Application::onPhaseChanged(ScenePhaseMonitor::ScenePhase phase)
{
    if (phase == ScenePhaseMonitor::ScenePhase::active)
        return;
    logInfo(QStringLiteral("app in background/inactive"));
    const bool inactive = phase == ScenePhaseMonitor::ScenePhase::inactive;
    if (inactive && FileChooser::anyOpen()) {
        // The focus went to the chooser; once it has gone, the focus must come back.
        FileChooser::whenAllClosed(this, [this] {
            QTimer::singleShot(ChooserFocusGraceMs, this, &Application::lockIfStillInactive);
        });
        return;
    }
    if (!(inactive && UserDefaults::keepUnlockedWhenInactive()))
        lock();
    if (phase == ScenePhaseMonitor::ScenePhase::background && m_window)
        m_window->presenter()->applicationWentToBackground();
}

void Application::lockIfStillInactive()
{
    if (m_phase.phase() == ScenePhaseMonitor::ScenePhase::inactive && !FileChooser::anyOpen() &&
        !UserDefaults::keepUnlockedWhenInactive())
        lock();
}

void Application::watchIdleTime()
{
    const auto readLimit = [this] { m_idle.setLimit(std::chrono::minutes(UserDefaults::lockWhenIdle())); };
    readLimit();
    connect(&UserDefaults::shared(), &UserDefaults::objectWillChange, this, readLimit);
    connect(&m_idle, &IdleMonitor::availabilityChanged, this, [this](IdleMonitor::Availability availability) {
        if (m_window)
            m_window->setIdleLockAvailable(availability != IdleMonitor::Availability::unavailable);
    });
    connect(&m_idle, &IdleMonitor::idleLimitReached, this, [this] {
        logInfo(QStringLiteral("no input for the idle limit: locking"));
        lock();
    });
}

void Application::lock()
{
    FileChooser::closeAll();
    KeyChainHelper::shared().lock();
    m_state.reset();
    if (QWidget *focused = QApplication::focusWidget())
        focused->clearFocus();
}

void Application::onLoadedKeyChanged()
{
    const bool unlocked = KeyChainHelper::shared().isUnlocked();
    m_idle.setWatching(unlocked);
    if (unlocked)
        return;
    FileChooser::closeAll();
    // No decrypted picture stays in memory while the vault is locked.
    ImageFromDecodedData::forgetAll();
    if (m_window)
        m_window->presenter()->vaultLocked();
}
