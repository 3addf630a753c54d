#pragma once

#include <QHash>
#include <QImage>
#include <QListView>
#include <QSet>
#include <QUrl>

#include "security/VaultSession.h"

class ItemListModel;
class ItemView;
class SelectedItemManager;
class TileThumbnailQueue;

// The grid of a folder's tiles. Pictures are decoded only for the tiles in view and the next
// screenful, under the session the folder is shown in; tiles that scrolled away are dropped from
// the queue, and every tile goes when the vault locks. Keeps its scroll position and
// current tile when the listing is replaced. Local files dropped on it are handed on. Screen
// readers hear each tile by what it is and, in selection mode, whether it is selected; the tile
// under the keyboard is announced again when that changes.
class FolderGrid : public QListView
{
    Q_OBJECT
public:
    static constexpr int tileEdge = 140;
    static constexpr int gridSpacing = 4;

    explicit FolderGrid(QWidget *parent = nullptr);

    // Nothing (no rows) with a null model.
    void setItemModel(ItemListModel *model);
    ItemListModel *itemModel() const { return m_model; }
    void setSelection(const SelectedItemManager *selection);
    void setSession(VaultSessionPtr session);

    TileThumbnailQueue *tileQueue() const { return m_queue; }
    QImage tile(const QUrl &url) const { return m_tiles.value(url); }
    bool tileFailed(const QUrl &url) const { return m_failed.contains(url); }
    // The tile shows its decoded picture, not the camera's small preview standing in for it.
    bool tileSharp(const QUrl &url) const { return m_tiles.contains(url) && !m_previews.contains(url); }
    // The pictures asked for at the last update: in view or in the next screenful.
    QSet<QUrl> wantedTiles() const { return m_wanted; }

Q_SIGNALS:
    void tileTapped(const QModelIndex &index);
    void tileMenuRequested(const QModelIndex &index, const QPoint &globalPos);
    void filesDropped(const QStringList &paths);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void scheduleTiles(int delayMs = 0);
    void updateTiles();
    void aboutToReset();
    void afterReset();
    void restoreScroll();
    void vaultLockChanged();
    bool isOpen() const { return m_session && m_session->isOpen(); }
    static QStringList localFiles(const QMimeData *data);

    ItemListModel *m_model = nullptr;
    ItemView *m_delegate;
    const SelectedItemManager *m_selection = nullptr;
    TileThumbnailQueue *m_queue;
    QTimer *m_tileTimer;
    QTimer *m_keepTimer;
    QHash<QUrl, QImage> m_tiles; // only the wanted ones
    QSet<QUrl> m_previews;       // tiles that still show an embedded preview
    QSet<QUrl> m_failed;
    QSet<QUrl> m_wanted;
    int m_keptScroll = -1;
    QString m_keptCurrent;
    VaultSessionPtr m_session;
};
