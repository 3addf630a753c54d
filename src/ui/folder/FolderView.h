#pragma once

#include "security/VaultSession.h"
#include "storage/StoredItem.h"
#include "ui/common/Screen.h"
#include "ui/folder/FolderViewState.h"

#include <QPointer>
#include <memory>

class FolderGrid;
class FolderTip;
class FolderToolbar;
class ItemCollection;
class ItemListModel;
class Presenter;
class QLabel;
class QModelIndex;
class QStackedWidget;
class QToolButton;
class ScreenPrivacyMonitor;
class SelectedItemManager;

// One vault folder as a grid of tiles, or a tree's root. Opens sub-folders (SubFolder) and files,
// selects files to delete, creates, modifies and deletes folders through the folder dialogs, and
// keeps a protected folder behind its lock until its PIN is entered: before that the grid has no
// model, so nothing of the folder is listed or decoded. Goes when its folder or drive goes, and
// when the vault locks: everything it opens works under the session it was shown in.
class FolderView : public Screen
{
    Q_OBJECT
public:
    // privacy: nothing means never covered.
    FolderView(std::shared_ptr<ItemCollection> collection, VaultSessionPtr session, Presenter *presenter,
               const ScreenPrivacyMonitor *privacy = nullptr, QWidget *parent = nullptr);
    ~FolderView() override;

    ItemCollection *collection() const { return m_collection.get(); }
    const VaultSessionPtr &session() const { return m_session; }
    FolderGrid *grid() const { return m_grid; }
    // Nothing while the folder is locked or not listed yet.
    ItemListModel *model() const { return m_model; }
    SelectedItemManager *selectionManager() const { return m_selection; }
    FolderToolbar *toolbar() const { return m_toolbar; }
    FolderViewState *state() const { return m_state; }
    bool isLocked() const;

    // A tile was clicked or Return pressed on it.
    void tap(const QModelIndex &index);

Q_SIGNALS:
    void importPhotosRequested();
    void importFilesRequested();
    void cameraRequested();
    void filesDropped(const QStringList &paths);
    // This screen, or one pushed from it, opened a sub-folder: whoever serves imports listens to it.
    void folderOpened(FolderView *folder);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *makeContent();
    QWidget *makeLockPage();
    QWidget *makeEmptyPage();
    void connectToolbar();
    void installKeys();
    void pressed(FolderViewState::Key key);
    QList<StoredItemPtr> shownItems() const;
    void reload();
    void deleteSelection();
    void listingChanged();
    void openContents();
    void closeContents();
    void contentsChanged();
    void showState();
    QWidget *pageWidget() const;
    // The page the state chose, and the keyboard focus on it.
    void showPage();
    void checkGone();
    void checkFolderExists();
    void leave();
    void showEnterPin();
    void openFolder(const StoredItemPtr &folder);
    void openItem(const StoredItemPtr &item);
    void openPicture(const StoredItemPtr &item);
    void openPdf(const StoredItemPtr &item);
    void openDocument(const StoredItemPtr &item);
    void shareItems(const QList<StoredItemPtr> &items);
    void showTileMenu(const QModelIndex &index, const QPoint &at);
    void deleteItems(const QList<StoredItemPtr> &items);
    void showAddFolder();
    void createFolder(const QString &name, const std::optional<QString> &pin);
    void showFolderError(const QString &reason);
    // Files an import left when the vault locked, once the folder shows its contents again.
    void reportInterruptedImport();
    void showDeleteFolder();
    void selectionChanged();
    QList<StoredItemPtr> selectedItems() const;

    std::shared_ptr<ItemCollection> m_collection;
    const VaultSessionPtr m_session;
    Presenter *m_presenter;
    const ScreenPrivacyMonitor *m_privacy;
    FolderViewState *m_state;
    SelectedItemManager *m_selection;
    FolderGrid *m_grid;
    ItemListModel *m_model = nullptr;
    FolderToolbar *m_toolbar;
    QStackedWidget *m_pages;
    QWidget *m_gridPage = nullptr;
    QWidget *m_lockPage = nullptr;
    QWidget *m_emptyPage = nullptr;
    QWidget *m_blankPage = nullptr;
    QToolButton *m_lockButton = nullptr;
    QLabel *m_pinProblem = nullptr;
    QPointer<FolderTip> m_tip;
    bool m_leaving = false;
    bool m_shown = false;
    // Shown before its listing: the page that comes takes the keyboard.
    bool m_focusWaits = false;
};
