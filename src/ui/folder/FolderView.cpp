#include "ui/folder/FolderView.h"

#include "core/UserDefaults.h"
#include "storage/DriveManager.h"
#include "storage/InterruptedImports.h"
#include "storage/ItemCollection.h"
#include "storage/ItemListModel.h"
#include "storage/PinEntry.h"
#include "storage/SelectedItemManager.h"
#include "storage/StoragePool.h"
#include "ui/common/Presenter.h"
#include "ui/common/PrivacyCover.h"
#include "ui/common/ReturnActivates.h"
#include "ui/common/StandardShortcut.h"
#include "ui/common/Symbols.h"
#include "ui/folder/AddFolder.h"
#include "ui/folder/DeleteFileView.h"
#include "ui/folder/DeleteFolderView.h"
#include "ui/folder/EnterPin.h"
#include "ui/folder/FolderGrid.h"
#include "ui/folder/FolderTip.h"
#include "ui/folder/FolderToolbar.h"
#include "ui/folder/FolderViewState.h"
#include "ui/folder/ModifyFolderView.h"
#include "ui/folder/NewFolderView.h"
#include "ui/folder/OKAlert.h"
#include "ui/folder/SubFolder.h"
#include "ui/preview/DocumentPreviewer.h"
#include "ui/preview/PdfViewer.h"
#include "ui/share/ShareDialog.h"
#include "ui/viewer/ScrollingPhotoView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The pause before the folder error, so that it does not flash over the closing dialog.
constexpr int errorPauseMs = 500;
constexpr int lockEdge = 96;
} // namespace

FolderView::FolderView(std::shared_ptr<ItemCollection> collection, VaultSessionPtr session,
                       Presenter *presenter, const ScreenPrivacyMonitor *privacy, QWidget *parent)
    : Screen(parent), m_collection(std::move(collection)), m_session(std::move(session)),
      m_presenter(presenter), m_privacy(privacy),
      m_state(new FolderViewState(m_collection->resultType() == FileItemType::all, this)),
      m_selection(new SelectedItemManager({}, false, m_collection->cacheKey(), this)), m_grid(new FolderGrid),
      m_toolbar(new FolderToolbar(m_collection->resultType() == FileItemType::all)),
      m_pages(new QStackedWidget)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("folderView"));
    setDismissesOnBackground(true);
    setDismissesOnLock(true);
    m_collection->setWarmsThumbnails(false);
    m_collection->setSession(m_session);
    m_grid->setSelection(m_selection);
    m_grid->setSession(m_session);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QWidget *content = makeContent();
    layout->addWidget(m_privacy ? new PrivacyCover(content, m_privacy) : content, 1);

    connectToolbar();
    installKeys();
    connect(m_grid, &FolderGrid::tileTapped, this, &FolderView::tap);
    connect(m_grid, &FolderGrid::tileMenuRequested, this, &FolderView::showTileMenu);
    connect(m_grid, &FolderGrid::filesDropped, this, [this](const QStringList &paths) {
        if (m_state->acceptsDrop())
            Q_EMIT filesDropped(paths);
    });
    connect(m_selection, &SelectedItemManager::selectedItemIDsChanged, this, &FolderView::selectionChanged);
    connect(m_selection, &SelectedItemManager::enabledChanged, this, &FolderView::selectionChanged);
    connect(m_state, &FolderViewState::contentsOpened, this, &FolderView::openContents);
    connect(m_state, &FolderViewState::contentsClosed, this, &FolderView::closeContents);
    connect(m_state, &FolderViewState::changed, this, &FolderView::showState);
    ItemCollection *listing = m_collection.get();
    connect(listing, &ItemCollection::timestampChanged, this, &FolderView::listingChanged);
    connect(listing, &ItemCollection::folderIsGoneChanged, this, &FolderView::checkGone);
    connect(listing, &ItemCollection::driveManagerChanged, this, &FolderView::checkGone);
    listingChanged();
}

FolderView::~FolderView()
{
    m_grid->setItemModel(nullptr);
}

bool FolderView::isLocked() const
{
    return m_state->isLocked();
}

QWidget *FolderView::makeContent()
{
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if ((m_tip = FolderTip::firstShown(m_state->folderAddOk()))) {
        auto *tipMargin = new QVBoxLayout;
        tipMargin->setContentsMargins(8, 6, 8, 2);
        tipMargin->addWidget(m_tip);
        layout->addLayout(tipMargin);
    }
    m_gridPage = m_grid;
    m_blankPage = new QWidget;
    m_pages->addWidget(m_blankPage);
    m_pages->addWidget(m_gridPage);
    m_pages->addWidget(makeLockPage());
    m_pages->addWidget(makeEmptyPage());
    m_pages->setCurrentWidget(m_blankPage);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_toolbar);
    return content;
}

QWidget *FolderView::makeLockPage()
{
    m_lockPage = new QWidget;
    m_lockButton = new QToolButton;
    m_lockButton->setObjectName(QStringLiteral("lockButton"));
    // Themes and the bundled picture stop at 48 pixels or below; a lock alone on the page needs more.
    QPixmap lock =
        Symbols::icon(QStringLiteral("lock.trianglebadge.exclamationmark")).pixmap(lockEdge, lockEdge);
    if (!lock.isNull() && lock.width() < lockEdge)
        lock = lock.scaled(lockEdge, lockEdge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_lockButton->setIcon(QIcon(lock));
    m_lockButton->setIconSize(QSize(lockEdge, lockEdge));
    m_lockButton->setAutoRaise(true);
    // The symbol alone, with a ring only while it has the keyboard focus.
    m_lockButton->setStyleSheet(
        QStringLiteral("QToolButton { border: 2px solid transparent; border-radius: 12px; "
                       "padding: 8px; } QToolButton:focus { border-color: palette(highlight); }"));
    m_lockButton->setToolTip(tr("Enter PIN"));
    m_lockButton->setAccessibleName(tr("Enter PIN"));
    connect(m_lockButton, &QToolButton::clicked, this, &FolderView::showEnterPin);
    ReturnActivates::install(m_lockButton);
    // No PIN can open a folder whose PIN entry is damaged: it says so instead of asking.
    m_pinProblem = new QLabel(PinEntry::unreadableText());
    m_pinProblem->setObjectName(QStringLiteral("pinProblem"));
    m_pinProblem->setAlignment(Qt::AlignCenter);
    m_pinProblem->setWordWrap(true);
    m_pinProblem->hide();
    // The page takes the keyboard for its one control.
    m_lockPage->setFocusProxy(m_lockButton);
    auto *layout = new QVBoxLayout(m_lockPage);
    layout->addStretch();
    layout->addWidget(m_lockButton, 0, Qt::AlignCenter);
    layout->addWidget(m_pinProblem);
    layout->addStretch();
    return m_lockPage;
}

QWidget *FolderView::makeEmptyPage()
{
    m_emptyPage = new QWidget;
    auto *layout = new QVBoxLayout(m_emptyPage);
    if (!m_state->folderAddOk())
        return m_emptyPage; // an empty sub-folder shows an empty area
    auto *add = new AddFolder(3.0);
    add->setObjectName(QStringLiteral("addFolderButton"));
    ReturnActivates::install(add);
    connect(add, &AddFolder::presentView, this, &FolderView::showAddFolder);
    m_emptyPage->setFocusProxy(add);
    layout->addStretch();
    layout->addWidget(add, 0, Qt::AlignHCenter);
    if (!FolderTip::isDismissed(QStringLiteral("EmptyFolderTip"))) {
        FolderTip *tip = FolderTip::emptyFolderTip();
        tip->setMaximumWidth(420);
        layout->addWidget(tip, 0, Qt::AlignHCenter);
    }
    layout->addStretch();
    return m_emptyPage;
}

void FolderView::connectToolbar()
{
    connect(m_toolbar, &FolderToolbar::selectToggled, this, [this] {
        if (m_selection->isEnabled())
            m_selection->disable();
        else
            m_selection->enable();
    });
    connect(m_toolbar, &FolderToolbar::deleteSelectionRequested, this, &FolderView::deleteSelection);
    connect(m_toolbar, &FolderToolbar::shareRequested, this, [this] { shareItems(selectedItems()); });
    connect(m_toolbar, &FolderToolbar::reloadRequested, this, &FolderView::reload);
    connect(m_toolbar, &FolderToolbar::addFolderRequested, this, &FolderView::showAddFolder);
    connect(m_toolbar, &FolderToolbar::deleteFolderRequested, this, &FolderView::showDeleteFolder);
    connect(m_toolbar, &FolderToolbar::modifyFolderRequested, this,
            [this] { m_presenter->sheet(new ModifyFolderView(m_collection.get())); });
    connect(m_toolbar, &FolderToolbar::importPhotosRequested, this, &FolderView::importPhotosRequested);
    connect(m_toolbar, &FolderToolbar::importFilesRequested, this, &FolderView::importFilesRequested);
    connect(m_toolbar, &FolderToolbar::cameraRequested, this, &FolderView::cameraRequested);
}

void FolderView::installKeys()
{
    // Only while this folder is the one shown: a hidden screen's shortcuts do not fire.
    const auto bind = [this](QKeySequence::StandardKey standard, const QKeySequence &linuxKey,
                             FolderViewState::Key key) {
        QShortcut *shortcut =
            StandardShortcut::make(standard, linuxKey, this, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, key] { pressed(key); });
    };
    bind(QKeySequence::Delete, QKeySequence(Qt::Key_Delete), FolderViewState::Key::deleteSelection);
    bind(QKeySequence::SelectAll, QKeySequence(Qt::CTRL | Qt::Key_A), FolderViewState::Key::selectAll);
    bind(QKeySequence::Refresh, QKeySequence(Qt::Key_F5), FolderViewState::Key::reload);
}

void FolderView::pressed(FolderViewState::Key key)
{
    switch (m_state->key(key)) {
    case FolderViewState::KeyEffect::nothing:
        return;
    case FolderViewState::KeyEffect::leaveSelection:
        return m_selection->disable();
    case FolderViewState::KeyEffect::close:
        Q_EMIT dismissRequested();
        return;
    case FolderViewState::KeyEffect::deleteSelection:
        return deleteSelection();
    case FolderViewState::KeyEffect::selectAll:
        return m_selection->selectAll(shownItems());
    case FolderViewState::KeyEffect::reload:
        return reload();
    }
}

void FolderView::reload()
{
    if (m_collection->hasDriveManager())
        m_collection->reload();
}

void FolderView::deleteSelection()
{
    const QList<StoredItemPtr> items = selectedItems();
    if (!items.isEmpty())
        deleteItems(items);
}

void FolderView::listingChanged()
{
    const bool listed = m_collection->timestamp() != UserDefaults::distantPastSeconds;
    m_state->setListing(listed, m_collection->pin(), m_collection->pinUnreadable());
    contentsChanged();
}

QWidget *FolderView::pageWidget() const
{
    switch (m_state->page()) {
    case FolderViewState::Page::blank:
        break;
    case FolderViewState::Page::grid:
        return m_gridPage;
    case FolderViewState::Page::lock:
        return m_lockPage;
    case FolderViewState::Page::empty:
        return m_emptyPage;
    }
    return m_blankPage;
}

void FolderView::showState()
{
    m_lockButton->setEnabled(m_state->isPinEntryEnabled());
    m_pinProblem->setVisible(m_state->isPinUnreadable());
    // The gestures are those of the photo viewer: told where there are pictures.
    if (m_tip)
        m_tip->setVisible(m_state->showsTip(m_tip->objectName() == QStringLiteral("SubFolderTip")));
    m_toolbar->setSelectionMode(m_state->isSelecting());
    m_toolbar->setSelectEnabled(m_state->isSelectEnabled());
    m_toolbar->setSelectionActionsEnabled(m_state->areSelectionActionsEnabled());
    m_grid->viewport()->update();
    if (pageWidget() != m_pages->currentWidget())
        showPage();
}

void FolderView::openContents()
{
    QTimer::singleShot(0, this, &FolderView::reportInterruptedImport);
    m_model = new ItemListModel(m_collection.get(), this);
    m_grid->setItemModel(m_model);
    connect(m_model, &QAbstractItemModel::modelReset, this, &FolderView::contentsChanged);
    // Not from inside the listing's own signal.
    if (m_collection->firstLoad())
        QTimer::singleShot(0, this, [this] {
            if (m_state->showsContents() && m_collection->hasDriveManager())
                m_collection->loadFirstTime();
        });
    contentsChanged();
}

void FolderView::closeContents()
{
    m_selection->disable();
    m_grid->setItemModel(nullptr);
    delete m_model;
    m_model = nullptr;
    contentsChanged();
}

void FolderView::contentsChanged()
{
    bool files = false;
    for (int row = 0; m_model && row < m_model->rowCount() && !files; ++row)
        files = !m_model->index(row, 0).data(ItemListModel::IsFolderRole).toBool();
    m_state->setContents(m_model ? m_model->rowCount() : 0, files, m_collection->containsPhotos());
    selectionChanged();
    showPage();
}

void FolderView::showPage()
{
    QWidget *page = pageWidget();
    const bool hadFocus = m_pages->currentWidget() && m_pages->currentWidget()->hasFocus();
    m_pages->setCurrentWidget(page);
    if (page == m_gridPage && m_model && m_model->rowCount() > 0 && !m_grid->currentIndex().isValid())
        m_grid->setCurrentIndex(m_model->index(0, 0));
    const bool focusHere =
        hadFocus || m_focusWaits || (isVisible() && (!focusWidget() || !focusWidget()->isVisible()));
    // The blank page holds nothing a screen reader could name: the focus waits for the listing.
    if (page == m_blankPage) {
        m_focusWaits = focusHere;
    } else if (focusHere) {
        m_focusWaits = false;
        page->setFocus();
    }
}

void FolderView::selectionChanged()
{
    m_state->setSelection(m_selection->isEnabled(), int(selectedItems().size()));
}

QList<StoredItemPtr> FolderView::selectedItems() const
{
    QList<StoredItemPtr> items;
    const QSet<QString> ids = m_selection->selectedItemIDs();
    for (const StoredItemPtr &item : shownItems()) {
        if (ids.contains(item->id()))
            items.append(item);
    }
    return items;
}

QList<StoredItemPtr> FolderView::shownItems() const
{
    QList<StoredItemPtr> items;
    for (int row = 0; m_model && row < m_model->rowCount(); ++row)
        items.append(m_model->itemAt(row));
    return items;
}

void FolderView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    checkGone();
    if (m_leaving)
        return;
    // A sub-folder's PIN is only known from a listing, which decodes nothing here.
    if (!m_state->isListed() && m_collection->firstLoad())
        m_collection->loadFirstTime();
    if (!m_state->folderAddOk())
        checkFolderExists();
    QTimer::singleShot(0, this, [this] {
        if (m_pages->currentWidget() == m_blankPage)
            m_focusWaits = true;
        else
            m_pages->currentWidget()->setFocus();
    });
}

void FolderView::checkFolderExists()
{
    const std::shared_ptr<DriveManager> manager = m_collection->driveManager();
    if (!manager)
        return;
    const auto exists = [manager] {
        manager->connect();
        return manager->directoryExists(QString());
    };
    StoragePool::runThen(this, exists, [this](bool found) {
        if (!found)
            m_collection->markFolderGone();
    });
}

void FolderView::checkGone()
{
    if (m_collection->folderIsGone() || !m_collection->hasDriveManager())
        leave();
}

void FolderView::leave()
{
    if (m_leaving)
        return;
    m_leaving = true;
    m_grid->setItemModel(nullptr);
    QTimer::singleShot(0, this, &Screen::dismissRequested);
}

void FolderView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        pressed(FolderViewState::Key::escape);
        return;
    }
    Screen::keyPressEvent(event);
}

void FolderView::showEnterPin()
{
    auto *sheet = new EnterPin;
    connect(sheet, &EnterPin::pinEntered, m_state, &FolderViewState::enterPin);
    m_presenter->sheet(sheet);
}

void FolderView::tap(const QModelIndex &index)
{
    const StoredItemPtr item = m_model ? m_model->itemAt(index.row()) : nullptr;
    if (!item)
        return;
    switch (m_state->tap(item->itemType() == StoredItem::StoredItemType::directory)) {
    case FolderViewState::Tap::nothing:
        return;
    case FolderViewState::Tap::toggleSelection:
        return m_selection->toggle(*item);
    case FolderViewState::Tap::openFolder:
        return openFolder(item);
    case FolderViewState::Tap::openItem:
        return openItem(item);
    }
}

void FolderView::openFolder(const StoredItemPtr &folder)
{
    auto *sub = new SubFolder(*folder, m_collection->location(), m_session, m_presenter, m_privacy);
    connect(sub, &FolderView::folderOpened, this, &FolderView::folderOpened);
    m_presenter->push(sub);
    Q_EMIT folderOpened(sub);
}

void FolderView::openItem(const StoredItemPtr &item)
{
    switch (item->fileType()) {
    case StoredItem::StoredFileType::image:
        return openPicture(item);
    case StoredItem::StoredFileType::pdf:
        return openPdf(item);
    case StoredItem::StoredFileType::content:
    case StoredItem::StoredFileType::unknown:
        return openDocument(item);
    }
}

void FolderView::openPicture(const StoredItemPtr &item)
{
    auto *viewer = new ScrollingPhotoView(m_collection->items(), item->id(), m_session, m_privacy);
    connect(viewer, &ScrollingPhotoView::shareRequested, this, &FolderView::shareItems);
    m_presenter->cover(viewer);
}

void FolderView::openPdf(const StoredItemPtr &item)
{
    auto *viewer = new PdfViewer(item, m_session);
    connect(viewer, &PdfViewer::shareRequested, this, &FolderView::shareItems);
    m_presenter->cover(viewer);
}

void FolderView::openDocument(const StoredItemPtr &item)
{
    auto *previewer = new DocumentPreviewer(item, m_session);
    connect(previewer, &DocumentPreviewer::shareRequested, this, &FolderView::shareItems);
    m_presenter->cover(previewer);
}

void FolderView::shareItems(const QList<StoredItemPtr> &items)
{
    if (!items.isEmpty())
        m_presenter->sheet(new ShareDialog(items, m_session));
}

void FolderView::showTileMenu(const QModelIndex &index, const QPoint &at)
{
    const StoredItemPtr item = m_model ? m_model->itemAt(index.row()) : nullptr;
    if (!item || !m_state->showsTileMenu(item->itemType() == StoredItem::StoredItemType::directory))
        return;
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("tileMenu"));
    menu->setAccessibleName(item->fullName());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setToolTipsVisible(true);
    menu->addAction(tr("Preview"), this, [this, item] { openItem(item); });
    menu->addAction(Symbols::icon(QStringLiteral("square.and.arrow.up")), tr("Share Item"), this,
                    [this, item] { shareItems({item}); });
    menu->addAction(Symbols::icon(QStringLiteral("trash")), tr("Delete Item"), this,
                    [this, item] { deleteItems({item}); });
    menu->popup(at);
}

void FolderView::deleteItems(const QList<StoredItemPtr> &items)
{
    auto *dialog = new DeleteFileView(items, m_collection.get());
    connect(dialog, &DeleteFileView::deleteStatus, this, [this](bool deleted) {
        if (deleted)
            m_selection->disable();
    });
    m_presenter->sheet(dialog);
}

void FolderView::showAddFolder()
{
    m_presenter->sheet(new NewFolderView(
        [self = QPointer<FolderView>(this)](const QString &name, const std::optional<QString> &pin) {
            if (self)
                self->createFolder(name, pin);
        }));
}

void FolderView::createFolder(const QString &name, const std::optional<QString> &pin)
{
    // Nothing when the folder was made; otherwise why not, empty when no more is known.
    const auto create = [operations = m_collection->operations(), name,
                         pin]() mutable -> std::optional<QString> {
        if (operations.createFolder(name, pin))
            return std::nullopt;
        return operations.treeRefusal();
    };
    StoragePool::runInSession(m_session, this, create, [this](const std::optional<QString> &refusal) {
        if (refusal)
            QTimer::singleShot(errorPauseMs, this, [this, text = *refusal] { showFolderError(text); });
    });
}

void FolderView::showFolderError(const QString &reason)
{
    auto *alert =
        new OKAlert(tr("Folder Error"),
                    reason.isEmpty() ? tr("An error occurred while adding the folder") : reason, this);
    alert->setObjectName(QStringLiteral("folderErrorAlert"));
    alert->open();
}

void FolderView::reportInterruptedImport()
{
    if (!m_state->showsContents() || !m_model)
        return;
    const QList<InterruptedImports::File> files = InterruptedImports::shared().take(m_collection->cacheKey());
    if (files.isEmpty())
        return;
    QStringList lines;
    for (const InterruptedImports::File &file : files)
        lines.append(tr("%1: %2").arg(file.name, file.reason));
    auto *alert =
        new OKAlert(tr("Import Stopped"),
                    tr("The vault locked during an import into this folder. These files were not imported:") +
                        QLatin1Char('\n') + lines.join(QLatin1Char('\n')),
                    this);
    alert->setObjectName(QStringLiteral("importStoppedAlert"));
    alert->open();
}

void FolderView::showDeleteFolder()
{
    m_presenter->sheet(
        new DeleteFolderView(m_collection.get(), [self = QPointer<FolderView>(this)](bool deleted) {
            if (!self || !deleted)
                return;
            self->m_collection->close();
            self->leave();
        }));
}
