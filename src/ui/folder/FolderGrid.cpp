#include "ui/folder/FolderGrid.h"

#include "security/KeyChainHelper.h"
#include "storage/ItemListModel.h"
#include "storage/StoredItem.h"
#include "storage/TileThumbnailQueue.h"
#include "ui/folder/ItemView.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>

namespace {
// Long enough to let a fling pass without asking for every tile it crosses. Tiles wanted for
// another reason (a listing, the session) are asked for at once.
constexpr int tileDelayMs = 40;
// How often the tiles are looked at again while the listing is still being laid out in batches.
constexpr int layoutPollMs = 10;
// How long a replaced listing takes to be laid out again, in batches, so the range grows back.
constexpr int keepScrollMs = 300;
} // namespace

FolderGrid::FolderGrid(QWidget *parent)
    : QListView(parent), m_delegate(new ItemView(this, this)),
      m_queue(new TileThumbnailQueue(tileEdge, 0, this)), m_tileTimer(new QTimer(this)),
      m_keepTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("folderGrid"));
    setAccessibleName(tr("Folder contents"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(200);
    setSpacing(gridSpacing / 2); // around each tile: gridSpacing between neighbours
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(m_delegate);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalScrollBar()->setSingleStep(24);
    // The window's background picture shows through the grid.
    viewport()->setAutoFillBackground(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);

    m_tileTimer->setSingleShot(true);
    connect(m_tileTimer, &QTimer::timeout, this, &FolderGrid::updateTiles);
    connect(this, &QAbstractItemView::clicked, this, &FolderGrid::tileTapped);
    connect(m_queue, &TileThumbnailQueue::tileReady, this, [this](const QUrl &url, const QImage &image) {
        if (!m_wanted.contains(url))
            return;
        m_tiles.insert(url, image);
        m_previews.remove(url);
        viewport()->update();
    });
    connect(m_queue, &TileThumbnailQueue::tilePreviewReady, this,
            [this](const QUrl &url, const QImage &image) {
                if (!m_wanted.contains(url) || (m_tiles.contains(url) && !m_previews.contains(url)))
                    return;
                m_tiles.insert(url, image);
                m_previews.insert(url);
                viewport()->update();
            });
    connect(m_queue, &TileThumbnailQueue::tileFailed, this, [this](const QUrl &url) {
        if (!m_wanted.contains(url))
            return;
        m_failed.insert(url);
        viewport()->update();
    });
    connect(&KeyChainHelper::shared(), &KeyChainHelper::loadedKeyChanged, this,
            &FolderGrid::vaultLockChanged);
    m_keepTimer->setSingleShot(true);
    m_keepTimer->setInterval(keepScrollMs);
    connect(m_keepTimer, &QTimer::timeout, this, [this] {
        restoreScroll();
        m_keptScroll = -1;
    });
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &FolderGrid::restoreScroll);
}

void FolderGrid::setSession(VaultSessionPtr session)
{
    m_session = session;
    m_queue->setSession(std::move(session));
    scheduleTiles();
}

void FolderGrid::setItemModel(ItemListModel *model)
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    setModel(model);
    m_queue->cancelAll();
    m_tiles.clear();
    m_previews.clear();
    m_failed.clear();
    m_wanted.clear();
    if (model) {
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &FolderGrid::aboutToReset);
        connect(model, &QAbstractItemModel::modelReset, this, &FolderGrid::afterReset);
        model->setSelection(m_selection);
    }
    scheduleTiles();
}

void FolderGrid::setSelection(const SelectedItemManager *selection)
{
    m_selection = selection;
    m_delegate->setSelection(selection);
    if (m_model)
        m_model->setSelection(selection);
    viewport()->update();
}

void FolderGrid::aboutToReset()
{
    if (m_keptScroll < 0)
        m_keptScroll = verticalScrollBar()->value();
    m_keptCurrent = currentIndex().data(ItemListModel::IdRole).toString();
}

void FolderGrid::restoreScroll()
{
    if (m_keptScroll >= 0)
        verticalScrollBar()->setValue(qMin(m_keptScroll, verticalScrollBar()->maximum()));
}

void FolderGrid::afterReset()
{
    // Not scrolled to: the current tile may be far from what the person looks at.
    setAutoScroll(false);
    if (!m_keptCurrent.isEmpty() && m_model) {
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const QModelIndex index = m_model->index(row, 0);
            if (index.data(ItemListModel::IdRole).toString() == m_keptCurrent) {
                selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
                break;
            }
        }
    }
    setAutoScroll(true);
    // The layout is made in batches after a reset: the position is put back as the range grows.
    restoreScroll();
    m_keepTimer->start();
    m_failed.clear();
    scheduleTiles();
}

void FolderGrid::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    scheduleTiles(tileDelayMs);
}

void FolderGrid::scrollContentsBy(int dx, int dy)
{
    QListView::scrollContentsBy(dx, dy);
    scheduleTiles(tileDelayMs);
}

void FolderGrid::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                             const QList<int> &roles)
{
    QListView::dataChanged(topLeft, bottomRight, roles);
    const QModelIndex current = currentIndex();
    if (!QAccessible::isActive() || !current.isValid() || current.row() < topLeft.row() ||
        current.row() > bottomRight.row() || (!roles.isEmpty() && !roles.contains(Qt::AccessibleTextRole)))
        return;
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface *table = grid ? grid->tableInterface() : nullptr;
    if (QAccessibleInterface *tile = table ? table->cellAt(current.row(), current.column()) : nullptr) {
        QAccessibleEvent renamed(tile, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

void FolderGrid::scheduleTiles(int delayMs)
{
    // Each scroll puts the fling's tiles off again, but never a look that is due sooner for
    // another reason.
    const bool dueSooner = m_tileTimer->isActive() && m_tileTimer->interval() < tileDelayMs &&
                           m_tileTimer->remainingTime() <= delayMs;
    if (!dueSooner)
        m_tileTimer->start(delayMs);
}

void FolderGrid::updateTiles()
{
    QSet<QUrl> wanted;
    QList<QUrl> inView; // in row order, the tiles on screen before the next screenful's
    QList<QUrl> below;
    bool laidOut = true;
    if (m_model) {
        // The viewport and one more screenful below it.
        const QRect area = viewport()->rect().adjusted(0, 0, 0, viewport()->height());
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const QModelIndex index = m_model->index(row, 0);
            const QRect rect = visualRect(index);
            if (rect.isNull()) {
                laidOut = false;
                continue;
            }
            if (rect.top() > area.bottom())
                break;
            if (!rect.intersects(area) || index.data(ItemListModel::FileTypeRole).toString() !=
                                              rawValue(StoredItem::StoredFileType::image))
                continue;
            const QUrl url = index.data(ItemListModel::UrlRole).toUrl();
            wanted.insert(url);
            (rect.intersects(viewport()->rect()) ? inView : below).append(url);
        }
    }
    m_queue->retainOnly(wanted);
    m_tiles.removeIf([&](auto it) { return !wanted.contains(it.key()); });
    m_previews.removeIf([&](const QUrl &url) { return !wanted.contains(url); });
    m_failed.removeIf([&](const QUrl &url) { return !wanted.contains(url); });
    m_wanted = wanted;
    if (isOpen()) {
        inView.append(below);
        for (const QUrl &url : std::as_const(inView)) {
            if ((!m_tiles.contains(url) || m_previews.contains(url)) && !m_failed.contains(url))
                m_queue->request(url);
        }
        // A scroll brings tiles asked for as the next screenful into view: they go first now.
        m_queue->reorder(inView);
    }
    if (!laidOut)
        scheduleTiles(layoutPollMs);
}

void FolderGrid::vaultLockChanged()
{
    if (isOpen())
        return;
    // No decrypted tile stays on screen once the vault is locked.
    m_queue->cancelAll();
    m_tiles.clear();
    m_previews.clear();
    m_failed.clear();
    m_wanted.clear();
    viewport()->update();
}

void FolderGrid::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (currentIndex().isValid()) {
            Q_EMIT tileTapped(currentIndex());
            return;
        }
        break;
    case Qt::Key_Escape:
        event->ignore(); // the screen's to handle
        return;
    default:
        break;
    }
    QListView::keyPressEvent(event);
}

void FolderGrid::contextMenuEvent(QContextMenuEvent *event)
{
    const bool byKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QModelIndex index = byKeyboard ? currentIndex() : indexAt(event->pos());
    if (!index.isValid())
        return;
    const QPoint at = byKeyboard ? viewport()->mapToGlobal(visualRect(index).center()) : event->globalPos();
    Q_EMIT tileMenuRequested(index, at);
}

QStringList FolderGrid::localFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
            return {};
        paths.append(url.toLocalFile());
    }
    return paths;
}

void FolderGrid::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_model && !localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void FolderGrid::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_model && !localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void FolderGrid::dropEvent(QDropEvent *event)
{
    const QStringList paths = localFiles(event->mimeData());
    if (!m_model || paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT filesDropped(paths);
}
