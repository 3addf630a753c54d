#include "TestHome.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/ItemCollection.h"
#include "storage/ItemCollectionCache.h"
#include "storage/SelectedItemManager.h"

#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSelectionAndCache : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    StoredItemPtr entry(const QString &name, bool isFolder)
    {
        const QString path = m_dir.filePath(name);
        isFolder ? QDir().mkpath(path) : QFile(path).open(QIODevice::WriteOnly);
        return StoredItem::makeStoredItem(QUrl::fromLocalFile(path), StorageLocation::local, QString());
    }

private Q_SLOTS:
    void initTestCase()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    }
    void cleanup() { ItemCollectionCache::shared().clear(); }

    void toggleAndSelect()
    {
        const StoredItemPtr fileA = entry("aaaa", false), fileUpper = entry("AAAA", false);
        const StoredItemPtr folder = entry("Trips", true);
        SelectedItemManager manager({}, false, "local.Trips.file");
        QSignalSpy changes(&manager, &SelectedItemManager::selectedItemIDsChanged);
        manager.toggle(*fileA);
        QVERIFY(manager.selectedItemIDs().isEmpty()); // not enabled yet

        manager.enable();
        for (const StoredItemPtr &item : {fileA, fileUpper, folder})
            manager.toggle(*item);
        QCOMPARE(manager.selectedItemIDs(), (QSet<QString>{fileA->id(), fileUpper->id()}));
        manager.toggle(*fileA);
        QCOMPARE(manager.selectedItemIDs(), QSet<QString>{fileUpper->id()});
        manager.disable();
        manager.enable();
        QVERIFY(manager.selectedItemIDs().isEmpty());
        manager.disable();

        changes.clear();
        manager.selectOnly(*fileA);
        manager.selectOnly(*folder);
        QCOMPARE(manager.selectedItemIDs(), QSet<QString>{fileA->id()});
        QCOMPARE(changes.count(), 2); // none for the folder
    }

    // Select-all takes the files and leaves the folders, only in selection mode, and says so once.
    void selectAllTakesFilesOnly()
    {
        const StoredItemPtr fileA = entry("aaaa", false), fileB = entry("bbbb", false);
        const StoredItemPtr folder = entry("Trips", true);
        const QList<StoredItemPtr> all{folder, fileA, fileB};
        SelectedItemManager manager({}, false, "local.Trips.file");
        QSignalSpy changes(&manager, &SelectedItemManager::selectedItemIDsChanged);
        manager.selectAll(all);
        QVERIFY(manager.selectedItemIDs().isEmpty()); // not enabled yet
        QCOMPARE(changes.count(), 0);

        manager.enable();
        manager.toggle(*fileA);
        changes.clear();
        manager.selectAll(all);
        QCOMPARE(manager.selectedItemIDs(), (QSet<QString>{fileA->id(), fileB->id()}));
        QCOMPARE(changes.count(), 1);
        manager.selectAll(all);
        QCOMPARE(changes.count(), 1); // nothing new
    }

    void cacheKeepsOpenCollections()
    {
        ItemCollectionCache &cache = ItemCollectionCache::shared();
        const StoredItemPtr holidays = entry("Holidays", true);
        QCOMPARE(ItemCollectionCache::key(*holidays, StorageLocation::cloud), "cloud.Holidays.inFile");
        QCOMPARE(ItemCollectionCache::key(*entry("Notes.old", true), StorageLocation::local),
                 "local.Notes.old.inFile");
        const std::shared_ptr<ItemCollection> first = cache.collection(*holidays, StorageLocation::local);
        QVERIFY(first->folderPath() == "Holidays" && first->resultType() == FileItemType::file);
        QCOMPARE(cache.collection(*holidays, StorageLocation::local), first);
        QCOMPARE(cache.collection(*holidays, StorageLocation::cloud)->location(), StorageLocation::cloud);
        first->close();
        const std::shared_ptr<ItemCollection> reopened = cache.collection(*holidays, StorageLocation::local);
        QVERIFY(reopened != first && reopened->hasDriveManager() && reopened->firstLoad());
        // The folder went (and may have been made again): a fresh collection, not one that has left.
        reopened->markFolderGone();
        const std::shared_ptr<ItemCollection> remade = cache.collection(*holidays, StorageLocation::local);
        QVERIFY(remade != reopened && !remade->folderIsGone());
    }

    void cacheIsBounded()
    {
        ItemCollectionCache &cache = ItemCollectionCache::shared();
        const StoredItemPtr kept = entry("Kept", true);
        const std::shared_ptr<ItemCollection> held = cache.collection(*kept, StorageLocation::local);
        for (int i = 0; i < ItemCollectionCache::capacity + 5; ++i)
            cache.collection(*entry(QString("F%1").arg(i), true), StorageLocation::local);
        QCOMPARE(cache.count(), ItemCollectionCache::capacity);
        QVERIFY(held->hasDriveManager()); // evicted, but alive for whoever holds it
        QVERIFY(cache.collection(*kept, StorageLocation::local) != held);
    }
};

LUMISERA_TEST_MAIN(TestSelectionAndCache)
#include "TestSelectionAndCache.moc"
