#include "storage/ItemCollection.h"

#include "core/Logging.h"
#include "core/UserDefaults.h"
#include "drive/CloudDrive.h"
#include "drive/NativePath.h"
#include "storage/ConflictCopyNames.h"
#include "storage/DecodedImageCache.h"
#include "storage/DriveManager.h"
#include "storage/DriveNotificationCenter.h"
#include "storage/FileNaming.h"
#include "storage/FolderOperations.h"
#include "storage/ImageFromDecodedData.h"
#include "storage/PinEntry.h"
#include "storage/StoragePool.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFuture>
#include <QMutexLocker>
#include <QPointer>
#include <QtConcurrent>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

bool isPinFile(const StoredItem &item)
{
    return item.fullName().toLower() == FileNaming::pinFileName().toLower();
}

QList<StoredItemPtr> sortedGroup(const QList<StoredItemPtr> &items, bool (*belongs)(const StoredItem &),
                                 bool ascending)
{
    // QString's operator< compares UTF-16 code units; comparing scalar values keeps names with
    // supplementary-plane characters in order. Each key is made once, not at every comparison.
    std::vector<std::pair<QList<uint>, StoredItemPtr>> keyed;
    for (const StoredItemPtr &item : items) {
        if (belongs(*item))
            keyed.emplace_back(item->fullName().toUcs4(), item);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto &a, const auto &b) {
        return ascending ? a.first < b.first : b.first < a.first;
    });
    QList<StoredItemPtr> group;
    group.reserve(qsizetype(keyed.size()));
    for (auto &entry : keyed)
        group.append(std::move(entry.second));
    return group;
}

} // namespace

ItemCollection::ItemCollection(StorageLocation location, FileItemType resultType, const QString &folderPath,
                               QObject *parent)
    : QObject(parent), m_driveManager(FolderOperations::makeDriveManager(location, folderPath)),
      m_timestamp(UserDefaults::distantPastSeconds), m_location(location), m_resultType(resultType),
      m_folderPath(folderPath)
{
    m_reloadQueue.setMaxThreadCount(1);
    connect(&DriveNotificationCenter::shared(), &DriveNotificationCenter::driveDidChange, this,
            &ItemCollection::driveContentsDidChange, Qt::QueuedConnection);
}

ItemCollection::~ItemCollection()
{
    const QString path = m_folderPath.trimmed();
    logInfo(QStringLiteral("ItemCollection deinit: '") + rawValue(m_location) + QLatin1Char('.') +
            (path.isEmpty() ? QStringLiteral("root") : FileNaming::forLog(path)) + QLatin1Char('.') +
            rawValue(m_resultType) + QLatin1Char('\''));
    delete m_timer;
    m_timer = nullptr;
    if (const std::shared_ptr<DriveManager> manager = driveManager())
        manager->detach();
    setDriveManager(nullptr);
    m_reloadQueue.clear();
    m_reloadQueue.waitForDone();
}

QString ItemCollection::cacheKey() const
{
    const QString path = m_folderPath.trimmed();
    return rawValue(m_location) + QLatin1Char('.') + (path.isEmpty() ? QStringLiteral("root") : path) +
           QLatin1Char('.') + rawValue(m_resultType);
}

bool ItemCollection::operator==(const ItemCollection &other) const
{
    if (m_resultType != other.m_resultType || m_folderPath != other.m_folderPath ||
        m_location != other.m_location || m_pin != other.m_pin || m_pinUnreadable != other.m_pinUnreadable ||
        m_items.size() != other.m_items.size())
        return false;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (!(*m_items.at(i) == *other.m_items.at(i)))
            return false;
    }
    return true;
}

std::shared_ptr<DriveManager> ItemCollection::driveManager() const
{
    QMutexLocker lock(&m_driveManagerMutex);
    return m_driveManager;
}

void ItemCollection::setDriveManager(std::shared_ptr<DriveManager> manager)
{
    {
        QMutexLocker lock(&m_driveManagerMutex);
        if (m_driveManager == manager)
            return;
        m_driveManager = std::move(manager);
    }
    Q_EMIT driveManagerChanged();
}

void ItemCollection::loadFirstTime()
{
    if (!m_firstLoad)
        return;
    m_firstLoad = false;
    Q_EMIT firstLoadChanged();
    if (!m_warmsThumbnails) {
        startReload(true);
        return;
    }
    // Warms the thumbnails once the first listing is in place, so that it sees the pictures.
    auto *context = new QObject(this);
    connect(this, &ItemCollection::timestampChanged, context, [this, context] {
        context->deleteLater();
        if (!m_session)
            return;
        QtConcurrent::task([listed = m_items, session = m_session] { prefetch(listed, *session); })
            .onThreadPool(*StoragePool::shared())
            .withPriority(StoragePool::utility)
            .spawn(QtConcurrent::FutureResult::Ignore);
    });
    startReload(true);
}

void ItemCollection::reload()
{
    startReload(false);
}

void ItemCollection::startReload(bool opening)
{
    const std::shared_ptr<DriveManager> manager = driveManager();
    if (!manager) {
        fatalErrorMsg(QStringLiteral("no storage manager"));
        return;
    }
    const VaultSessionPtr session = m_session;
    if (!session || !session->isOpen()) {
        logInfo(QStringLiteral("A folder is not listed while the vault is locked"));
        return;
    }
    const StorageLocation location = m_location;
    const FileItemType resultType = m_resultType;
    const quint64 stamp = m_listings.start();
    const QPointer<ItemCollection> alive(this);
    m_reloadQueue.start([alive, manager, location, resultType, opening, stamp, session] {
        // Only starts the listing: two reloads may be in flight; the newest started wins. What
        // comes back for a gone collection, or after the lock, is dropped.
        const auto list = [=] {
            manager->connect();
            // What a crashed or killed import left behind goes when the folder is opened.
            if (opening)
                manager->removeLeftovers();
            return listFolder(manager, location, resultType, *session);
        };
        StoragePool::runInSession(session, alive, list, [alive, stamp](const Listing &listing) {
            // A collection closed, or whose folder went, while this listing ran stays empty.
            if (alive->m_listings.accept(stamp))
                alive->apply(listing);
        });
    });
}

QList<StoredItemPtr> ItemCollection::loadItems() const
{
    return listItems(driveManager(), m_location, m_resultType);
}

ItemCollection::Listing ItemCollection::loadListing() const
{
    if (!m_session)
        return {};
    return listFolder(driveManager(), m_location, m_resultType, *m_session);
}

QList<StoredItemPtr> ItemCollection::listItems(const std::shared_ptr<DriveManager> &manager,
                                               StorageLocation location, FileItemType resultType)
{
    if (!manager || !manager->hasDrive()) {
        fatalErrorMsg(QStringLiteral("no storage manager"));
        return {};
    }
    QList<StoredItemPtr> items;
    for (const QUrl &url : manager->listItems(resultType)) {
        try {
            items.append(StoredItem::makeStoredItem(url, location, manager->rootPath()));
        } catch (const std::exception &error) {
            errorMsg(QStringLiteral("Caught error ") + QString::fromUtf8(error.what()));
        }
    }
    // Every file opens by the name it shows.
    ConflictCopyNames::makeDistinct(items);
    return arrangeItems(items);
}

ItemCollection::Listing ItemCollection::listFolder(const std::shared_ptr<DriveManager> &manager,
                                                   StorageLocation location, FileItemType resultType,
                                                   const VaultSession &session)
{
    Listing listing;
    listing.items = listItems(manager, location, resultType);
    // The entries as listed: a sync client may have dropped the pad space of the name or changed
    // its letter case, and the one the listing found is the one that protects the folder.
    QByteArrayList pinEntries;
    for (const StoredItemPtr &item : std::as_const(listing.items)) {
        if (isPinFile(*item) && item->itemType() == StoredItem::StoredItemType::file)
            pinEntries.append(NativePath::fromUrl(item->url()));
    }
    listing.items.removeIf([](const StoredItemPtr &item) { return isPinFile(*item); });
    if (pinEntries.isEmpty())
        return listing;
    const std::shared_ptr<CloudDrive> drive = manager->drive();
    const PinEntry entry = drive ? PinEntry::read(*drive, pinEntries, session.key()) : PinEntry();
    if (!drive || entry.isUnreadable()) {
        errorMsg(QStringLiteral("Caught error ") + (drive ? entry.problem() : QStringLiteral("no drive")));
        listing.pinUnreadable = true;
    } else {
        listing.pin = entry.pin();
    }
    return listing;
}

QList<StoredItemPtr> ItemCollection::arrangeItems(const QList<StoredItemPtr> &items)
{
    using FileType = StoredItem::StoredFileType;
    using ItemType = StoredItem::StoredItemType;
    QList<StoredItemPtr> arranged;
    for (const StoredItemPtr &item : items) {
        if (isPinFile(*item))
            arranged.append(item);
    }
    // A folder named like the PIN file (a sync client may make one) is already among the first.
    arranged += sortedGroup(
        items, [](const StoredItem &i) { return i.itemType() == ItemType::directory && !isPinFile(i); },
        true);
    arranged += sortedGroup(
        items, [](const StoredItem &i) { return i.fileType() == FileType::image; }, false);
    arranged += sortedGroup(
        items, [](const StoredItem &i) { return i.fileType() == FileType::pdf; }, false);
    arranged += sortedGroup(
        items,
        [](const StoredItem &i) {
            return i.fileType() == FileType::content && i.itemType() == ItemType::file;
        },
        false);
    // Files of other kinds last: whatever was imported can be seen, opened and deleted again.
    arranged += sortedGroup(
        items,
        [](const StoredItem &i) {
            return i.fileType() == FileType::unknown && i.itemType() == ItemType::file && !isPinFile(i);
        },
        false);
    return arranged;
}

void ItemCollection::apply(const Listing &listing)
{
    using FileType = StoredItem::StoredFileType;
    const auto any = [&listing](auto predicate) {
        return std::any_of(listing.items.cbegin(), listing.items.cend(),
                           [&](const StoredItemPtr &item) { return predicate(*item); });
    };
    m_containsPhotos = any([](const StoredItem &i) { return i.fileType() == FileType::image; });
    Q_EMIT containsPhotosChanged();
    m_containsFolders =
        any([](const StoredItem &i) { return i.itemType() == StoredItem::StoredItemType::directory; });
    Q_EMIT containsFoldersChanged();
    m_containsPDF = any([](const StoredItem &i) { return i.fileType() == FileType::pdf; });
    Q_EMIT containsPDFChanged();
    m_containsContentDocs = any([](const StoredItem &i) { return i.fileType() == FileType::content; });
    Q_EMIT containsContentDocsChanged();
    m_items = listing.items;
    Q_EMIT itemsChanged();
    m_pin = listing.pin;
    m_pinUnreadable = listing.pinUnreadable;
    Q_EMIT pinChanged();
    m_timestamp = now();
    Q_EMIT timestampChanged();
}

void ItemCollection::driveContentsDidChange(const UpdateEvent &event)
{
    if (event.location != m_location || event.inPath.toLower() != m_folderPath.toLower())
        return;
    delete m_timer;
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &ItemCollection::fireTimer);
    m_timer->start(changeDelayMs);
}

void ItemCollection::fireTimer()
{
    Q_EMIT changeCheckStarted();
    const std::shared_ptr<DriveManager> manager = driveManager();
    if (!manager) {
        markFolderGone();
        return;
    }
    const auto exists = [manager] {
        manager->connect();
        return manager->directoryExists(QString());
    };
    StoragePool::runThen(this, exists, [this](bool found) {
        if (found)
            reload();
        else
            markFolderGone();
    });
}

void ItemCollection::markFolderGone()
{
    m_listings.invalidate();
    m_items.clear();
    Q_EMIT itemsChanged();
    m_containsPhotos = m_containsFolders = m_containsPDF = m_containsContentDocs = false;
    Q_EMIT containsPhotosChanged();
    Q_EMIT containsFoldersChanged();
    Q_EMIT containsPDFChanged();
    Q_EMIT containsContentDocsChanged();
    m_pin = QString();
    Q_EMIT pinChanged();
    m_timestamp = now();
    Q_EMIT timestampChanged();
    m_folderIsGone = true;
    Q_EMIT folderIsGoneChanged();
}

void ItemCollection::close()
{
    m_listings.invalidate();
    setDriveManager(nullptr);
    m_firstLoad = true;
    Q_EMIT firstLoadChanged();
    m_items.clear();
    Q_EMIT itemsChanged();
}

void ItemCollection::prefetchThumbnails() const
{
    if (m_session)
        prefetch(m_items, *m_session);
}

void ItemCollection::prefetch(const QList<StoredItemPtr> &items, const VaultSession &session)
{
    const DecodedImageCache &thumbnails = DecodedImageCache::thumbnails();
    for (const StoredItemPtr &item : items) {
        if (item->fileType() != StoredItem::StoredFileType::image)
            continue;
        // Past this point every new thumbnail would only push out one decoded a moment ago.
        if (thumbnails.isFull() || !session.isOpen())
            break;
        ImageFromDecodedData::image(item->url(), session, true, false);
    }
}

double ItemCollection::now()
{
    return UserDefaults::secondsSinceReferenceDate(QDateTime::currentDateTimeUtc());
}

FolderOperations ItemCollection::operations() const
{
    return FolderOperations(driveManager(), m_location, m_session);
}
