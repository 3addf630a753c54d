#pragma once

#include "security/VaultSession.h"
#include "storage/FileItemType.h"
#include "storage/FolderOperations.h"
#include "storage/ListingStamps.h"
#include "storage/StorageLocation.h"
#include "storage/StoredItem.h"
#include "storage/UpdateEvent.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <memory>
#include <optional>

class DriveManager;

// The live listing of one vault folder (or of a tree's root). Listing runs on the storage pool;
// every published field changes on the main thread, with its change signal. Listings and
// operations run under the vault session the screen showing the folder hands over: without an
// open one nothing is listed, and a listing that ends after the lock is dropped.
class ItemCollection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<StoredItemPtr> items READ items NOTIFY itemsChanged)
    Q_PROPERTY(bool containsPhotos READ containsPhotos NOTIFY containsPhotosChanged)
    Q_PROPERTY(bool containsFolders READ containsFolders NOTIFY containsFoldersChanged)
    Q_PROPERTY(bool containsPDF READ containsPDF NOTIFY containsPDFChanged)
    Q_PROPERTY(bool containsContentDocs READ containsContentDocs NOTIFY containsContentDocsChanged)
    Q_PROPERTY(double timestamp READ timestamp NOTIFY timestampChanged)
    Q_PROPERTY(bool folderIsGone READ folderIsGone NOTIFY folderIsGoneChanged)
    Q_PROPERTY(bool firstLoad READ firstLoad NOTIFY firstLoadChanged)
    Q_PROPERTY(bool hasDriveManager READ hasDriveManager NOTIFY driveManagerChanged)
    Q_PROPERTY(bool hasPin READ hasPin NOTIFY pinChanged)
    Q_PROPERTY(bool pinUnreadable READ pinUnreadable NOTIFY pinChanged)
    Q_PROPERTY(QString cacheKey READ cacheKey CONSTANT)

public:
    // What one listing found: the arranged items without the PIN file, and the folder's PIN.
    // A PIN entry that is there but cannot be read keeps the folder locked (pinUnreadable).
    struct Listing
    {
        QList<StoredItemPtr> items;
        std::optional<QString> pin;
        bool pinUnreadable = false;
    };

    ItemCollection(StorageLocation location, FileItemType resultType, const QString &folderPath,
                   QObject *parent = nullptr);
    ~ItemCollection() override;

    StorageLocation location() const { return m_location; }
    FileItemType resultType() const { return m_resultType; }
    QString folderPath() const { return m_folderPath; }
    QString cacheKey() const;
    bool operator==(const ItemCollection &other) const;

    QList<StoredItemPtr> items() const { return m_items; }
    bool containsPhotos() const { return m_containsPhotos; }
    bool containsFolders() const { return m_containsFolders; }
    bool containsPDF() const { return m_containsPDF; }
    bool containsContentDocs() const { return m_containsContentDocs; }
    double timestamp() const { return m_timestamp; }
    bool folderIsGone() const { return m_folderIsGone; }
    bool firstLoad() const { return m_firstLoad; }
    std::optional<QString> pin() const { return m_pin; }
    // A PIN entry is there, readable or not.
    bool hasPin() const { return m_pin.has_value() || m_pinUnreadable; }
    // The PIN entry is there but cannot be read: no PIN opens the folder (PinEntry::unreadableText()).
    bool pinUnreadable() const { return m_pinUnreadable; }
    // Nothing after close(). Safe from any thread.
    std::shared_ptr<DriveManager> driveManager() const;
    bool hasDriveManager() const { return driveManager() != nullptr; }

    // The session the folder is shown under (main thread).
    void setSession(VaultSessionPtr session) { m_session = std::move(session); }
    VaultSessionPtr session() const { return m_session; }

    // Lists once, when never loaded, then warms the thumbnails of the pictures unless told not to.
    void loadFirstTime();
    // The folder screen turns the warming off: its tiles are decoded at tile size for the tiles in
    // view, and warming every picture's large thumbnail would hold the pool and the memory.
    void setWarmsThumbnails(bool warms) { m_warmsThumbnails = warms; }
    // Starts a listing; the result is applied on the main thread later (timestampChanged).
    void reload();
    // Synchronous listing (any thread): the arranged items, PIN file included.
    QList<StoredItemPtr> loadItems() const;
    // Synchronous listing and PIN read (any thread), what a reload publishes.
    Listing loadListing() const;
    // The same for any connected drive manager (the command-line companion lists this way).
    static QList<StoredItemPtr> listItems(const std::shared_ptr<DriveManager> &manager,
                                          StorageLocation location, FileItemType resultType);
    static Listing listFolder(const std::shared_ptr<DriveManager> &manager, StorageLocation location,
                              FileItemType resultType, const VaultSession &session);
    // Folders A→Z, then pictures, PDFs, documents and files of other kinds each Z→A; PIN files first.
    static QList<StoredItemPtr> arrangeItems(const QList<StoredItemPtr> &items);

    void markFolderGone();
    void close();
    // Synchronous: decodes the thumbnails of the pictures listed now into the shared cache.
    void prefetchThumbnails() const;

    // The folder and file operations on this collection's folder (createFolder, createPin,
    // removePin, deleteFolder, deleteFiles, addToCollectionAndDelete, uniqueName, addImageData,
    // importFromFiles), under its session: synchronous, for the storage pool. A closed
    // collection's operations have no drive and answer false; after the lock they refuse.
    FolderOperations operations() const;

    // The change timer's delay after the last change report.
    static constexpr int changeDelayMs = 1000;

Q_SIGNALS:
    void itemsChanged();
    void containsPhotosChanged();
    void containsFoldersChanged();
    void containsPDFChanged();
    void containsContentDocsChanged();
    void timestampChanged();
    void folderIsGoneChanged();
    void firstLoadChanged();
    void driveManagerChanged();
    void pinChanged();
    // A change check started (the change timer fired).
    void changeCheckStarted();

private Q_SLOTS:
    void driveContentsDidChange(const UpdateEvent &event);
    void fireTimer();

private:
    void startReload(bool opening);
    void apply(const Listing &listing);
    static void prefetch(const QList<StoredItemPtr> &items, const VaultSession &session);
    void setDriveManager(std::shared_ptr<DriveManager> manager);
    static double now();

    QList<StoredItemPtr> m_items;
    bool m_containsPhotos = false;
    bool m_containsFolders = false;
    bool m_containsPDF = false;
    bool m_containsContentDocs = false;
    std::shared_ptr<DriveManager> m_driveManager;
    mutable QMutex m_driveManagerMutex;
    double m_timestamp;
    bool m_folderIsGone = false;
    QThreadPool m_reloadQueue;
    StorageLocation m_location;
    FileItemType m_resultType;
    QString m_folderPath;
    QTimer *m_timer = nullptr;
    bool m_firstLoad = true;
    bool m_warmsThumbnails = true;
    ListingStamps m_listings;
    std::optional<QString> m_pin;
    VaultSessionPtr m_session;
    bool m_pinUnreadable = false;
};
