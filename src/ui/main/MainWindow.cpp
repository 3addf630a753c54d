#include "ui/main/MainWindow.h"

#include "security/KeyChainHelper.h"
#include "storage/ItemCollection.h"
#include "storage/PasscodeChangeJournal.h"
#include "ui/about/AboutView.h"
#include "ui/camera/NewCameraView.h"
#include "ui/common/AccessibleApplication.h"
#include "ui/common/BackgroundCanvas.h"
#include "ui/common/NavigationStack.h"
#include "ui/common/Presenter.h"
#include "ui/common/StandardShortcut.h"
#include "ui/folder/FolderView.h"
#include "ui/folder/ImportSheet.h"
#include "ui/main/ContentView.h"
#include "ui/main/MainScreenState.h"
#include "ui/main/SetPasscodeView.h"
#include "ui/settings/ChangePasscodeView.h"
#include "ui/settings/CheckVaultView.h"
#include "ui/settings/Settings.h"
#include "ui/storage/StorageLocationSelectionView.h"
#include "ui/storage/StorageLocationState.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

MainWindow::MainWindow(MainScreenState *state, QWidget *parent)
    : QWidget(parent), m_state(state), m_canvas(new BackgroundCanvas(this)),
      m_layers(new QStackedWidget(m_canvas)), m_navigation(new NavigationStack(m_layers)),
      m_presenter(new Presenter(m_layers, m_navigation, this)), m_contentView(new ContentView(state))
{
    AccessibleApplication::install();
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Lumisera"));
    resize(900, 640);
    setMinimumSize(480, 420);
    m_layers->addWidget(m_navigation);
    m_navigation->setRoot(m_contentView);
    auto *canvasLayout = new QVBoxLayout(m_canvas);
    canvasLayout->setContentsMargins(0, 0, 0, 0);
    canvasLayout->addWidget(m_layers);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_canvas);

    m_canvas->setImage(state->backgroundImage());
    connect(state, &MainScreenState::changed, this,
            [this] { m_canvas->setImage(m_state->backgroundImage()); });
    connect(state, &MainScreenState::storageRequested, this, &MainWindow::openStorage);
    connect(state, &MainScreenState::setPasscodeRequested, this, &MainWindow::openSetPasscode);
    connect(m_contentView, &ContentView::settingsRequested, this, &MainWindow::openSettings);
    connect(m_contentView, &ContentView::aboutRequested, this, &MainWindow::openAbout);
    connect(m_contentView, &ContentView::donationRequested, this, [] { DonationPage::open(); });
    installKeys();
}

void MainWindow::installKeys()
{
    QShortcut *quit = StandardShortcut::make(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &MainWindow::quitRequested);
    // The sheets are windows of their own, with their own Ctrl+Q.
    connect(m_presenter, &Presenter::quitRequested, this, &MainWindow::quitRequested);
    QShortcut *close = StandardShortcut::make(QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W), this);
    connect(close, &QShortcut::activated, m_presenter, &Presenter::closeFront);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && m_presenter->closeFront())
        return;
    QWidget::keyPressEvent(event);
}

void MainWindow::openStorage()
{
    // Files are in two passcodes until an unfinished change ends: the vault opens only to finish it.
    if (PasscodeChangeJournal::exists()) {
        openChangePasscode(true);
        return;
    }
    for (Screen *screen : m_presenter->presented()) {
        if (qobject_cast<StorageLocationSelectionView *>(screen))
            return;
    }
    auto *storage = new StorageLocationSelectionView;
    connect(storage, &StorageLocationSelectionView::treeRequested, this,
            [this, storage](StorageLocation location, const QString &title) {
                openTree(storage->state()->rootCollection(location), title);
            });
    m_presenter->push(storage);
    m_state->storageShown();
}

void MainWindow::openTree(const std::shared_ptr<ItemCollection> &root, const QString &title)
{
    // The session the tree and everything opened from it work under.
    const VaultSessionPtr session = KeyChainHelper::shared().session();
    if (!session)
        return;
    auto *view = new FolderView(root, session, m_presenter, m_privacyMonitor);
    view->setTitle(title);
    serveImports(view);
    // Sub-folders opened from it, however deep, are announced by the root.
    connect(view, &FolderView::folderOpened, this, &MainWindow::serveImports);
    m_presenter->push(view);
}

void MainWindow::serveImports(FolderView *folder)
{
    connect(folder, &FolderView::importFilesRequested, this, [this, folder] {
        m_presenter->sheet(new ImportSheet(folder->collection(), ImportSheet::Source::files));
    });
    connect(folder, &FolderView::importPhotosRequested, this, [this, folder] {
        m_presenter->sheet(new ImportSheet(folder->collection(), ImportSheet::Source::photos));
    });
    connect(folder, &FolderView::filesDropped, this, [this, folder](const QStringList &paths) {
        m_presenter->sheet(new ImportSheet(folder->collection(), paths));
    });
    connect(folder, &FolderView::cameraRequested, this,
            [this, folder] { NewCameraView::present(m_presenter, folder->collection(), this); });
}

void MainWindow::setPrivacyMonitor(const ScreenPrivacyMonitor *monitor)
{
    m_privacyMonitor = monitor;
}

void MainWindow::setIdleLockAvailable(bool available)
{
    m_idleLockAvailable = available;
    const QList<Settings *> open = findChildren<Settings *>();
    for (Settings *settings : open)
        settings->state()->setIdleLockAvailable(available);
}

void MainWindow::openSetPasscode()
{
    auto *setup = new SetPasscodeView;
    connect(setup, &SetPasscodeView::dismissRequested, m_state, &MainScreenState::checkPasscode);
    m_presenter->sheet(setup);
}

void MainWindow::openSettings()
{
    auto *settings = new Settings;
    settings->setMode(m_state->schemeMode());
    settings->state()->setIdleLockAvailable(m_idleLockAvailable);
    connect(settings, &Settings::modeChanged, m_state, &MainScreenState::setSchemeMode);
    connect(settings, &Settings::backgroundImageChanged, m_state, &MainScreenState::setBackgroundImage);
    connect(settings, &Settings::sparseUIChanged, m_state, &MainScreenState::setSparseUI);
    connect(settings, &Settings::obscuredUIChanged, m_state, &MainScreenState::setObscuredUI);
    connect(settings, &Settings::autoOpenChanged, m_state, &MainScreenState::setAutoOpen);
    connect(settings, &Settings::biometricsHiddenChanged, m_state, &MainScreenState::refreshBiometrics);
    connect(settings, &Settings::changePasscodeRequested, this,
            [this] { openChangePasscode(PasscodeChangeJournal::exists()); });
    connect(settings, &QObject::destroyed, m_state, &MainScreenState::settingsClosed);
    connect(settings, &Settings::checkVaultRequested, this, [this] {
        // Half the files would show as another passcode's: the change is finished first.
        if (PasscodeChangeJournal::exists())
            openChangePasscode(true);
        else
            m_presenter->sheet(new CheckVaultView(KeyChainHelper::shared().session()));
    });
    m_presenter->cover(settings);
}

void MainWindow::openChangePasscode(bool resuming)
{
    for (Screen *screen : m_presenter->presented()) {
        if (qobject_cast<ChangePasscodeView *>(screen))
            return;
    }
    m_presenter->sheet(new ChangePasscodeView(resuming));
}

void MainWindow::openAbout()
{
    m_presenter->cover(new AboutView);
}
