#pragma once

#include <QObject>
#include <QString>
#include <optional>

// The folder screen's rules: whether a protected folder is locked, which page shows, whether its
// contents may be listed at all, what "Select" and the selection's actions allow, and what a tap
// on a tile does. FolderView tells it what the listing, the model and the selection say, and draws
// what it decides.
class FolderViewState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool locked READ isLocked NOTIFY changed)
    Q_PROPERTY(Page page READ page NOTIFY changed)
    Q_PROPERTY(bool selectEnabled READ isSelectEnabled NOTIFY changed)
    Q_PROPERTY(bool selectionActionsEnabled READ areSelectionActionsEnabled NOTIFY changed)
public:
    enum class Page { blank, grid, lock, empty };
    Q_ENUM(Page)
    enum class Tap { nothing, toggleSelection, openFolder, openItem };
    Q_ENUM(Tap)
    // The standard keys the folder screen answers.
    enum class Key { escape, deleteSelection, selectAll, reload };
    Q_ENUM(Key)
    enum class KeyEffect { nothing, leaveSelection, close, deleteSelection, selectAll, reload };
    Q_ENUM(KeyEffect)

    // folderAddOk: a tree's root, where folders are made and an empty listing offers to add one.
    explicit FolderViewState(bool folderAddOk, QObject *parent = nullptr);

    bool folderAddOk() const { return m_folderAddOk; }
    bool isListed() const { return m_listed; }
    // Unknown until the first listing: nothing is locked before it.
    bool isLocked() const { return m_locked; }
    // The PIN entry cannot be read: no PIN opens the folder, so none is asked for.
    bool isPinUnreadable() const { return m_pinUnreadable; }
    bool isPinEntryEnabled() const { return !m_pinUnreadable; }
    // The folder's items may be listed and decoded: a listing came and did not lock.
    bool showsContents() const { return m_seenListing && !m_locked; }
    Page page() const;
    // Tips about the folder's contents: never over the lock or before the listing; one about
    // the picture gestures only where there are pictures.
    bool showsTip(bool aboutPictures) const;
    bool isSelecting() const { return m_selecting; }
    int selectedCount() const { return m_selectedCount; }
    bool isSelectEnabled() const { return m_selecting || (m_hasFiles && !m_locked); }
    bool areSelectionActionsEnabled() const { return m_selectedCount > 0; }
    Tap tap(bool isFolder) const;
    bool showsTileMenu(bool isFolder) const { return !m_locked && !isFolder && !m_selecting; }
    bool acceptsDrop() const { return !m_locked; }
    // Delete and select-all act only on files chosen in Select mode, as the toolbar's buttons do.
    KeyEffect key(Key key) const;

public Q_SLOTS:
    // What the latest listing says; an unlisted one (not yet, or closed) changes no lock.
    void setListing(bool listed, const std::optional<QString> &pin, bool pinUnreadable);
    // As the PIN sheet hands it over; the lock follows at once.
    void enterPin(const QString &pin);
    void setContents(int rows, bool hasFiles, bool containsPhotos);
    void setSelection(bool selecting, int selectedCount);

Q_SIGNALS:
    void changed();
    // showsContents() turned on: the model is made; the folder's news may be told now.
    void contentsOpened();
    // showsContents() turned off: the model and any selection go.
    void contentsClosed();

private:
    // showed: whether the contents showed before the change.
    void relock(bool showed);

    const bool m_folderAddOk;
    bool m_listed = false;
    bool m_seenListing = false;
    std::optional<QString> m_pin;
    bool m_pinUnreadable = false;
    QString m_enteredPin;
    bool m_locked = false;
    int m_rows = 0;
    bool m_hasFiles = false;
    bool m_containsPhotos = false;
    bool m_selecting = false;
    int m_selectedCount = 0;
};
