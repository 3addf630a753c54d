#include "InMemoryCredentialBackend.h"
#include "ItemCollection.h"
#include "ItemCollectionCache.h"
#include "KeyChainHelper.h"
#include "LogCapture.h"
#include "SelectedItemManager.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSelectionAndCache : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    StoredItemPtr entry(const QString &name, bool isFolder)
    {
        const QString path = m_dir.filePath(name);
        if (isFolder)
            QDir().mkpath(path);
        else
            QFile(path).open(QIODevice::WriteOnly);
        return StoredItem::makeStoredItem(QUrl::fromLocalFile(path), StorageLocation::local, QString());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    }

    void toggleAndSelect()
    {
        const StoredItemPtr fileA = entry(QStringLiteral("aaaa"), false);
        const StoredItemPtr fileUpper = entry(QStringLiteral("AAAA"), false);
        const StoredItemPtr folder = entry(QStringLiteral("Trips"), true);
        SelectedItemManager manager({}, false, QStringLiteral("local.Trips.file"));
        QSignalSpy changes(&manager, &SelectedItemManager::selectedItemIDsChanged);

        LogCapture log;
        manager.toggle(*fileA);
        QVERIFY(manager.selectedItemIDs().isEmpty());
        QVERIFY(log.contains(
            QStringLiteral("Production arrested fatal: Selection manager inactive: local.Trips.file")));

        manager.enable();
        log.clear();
        manager.toggle(*fileA);
        manager.toggle(*fileUpper);
        manager.toggle(*folder);
        QCOMPARE(manager.selectedItemIDs(), (QSet<QString>{fileA->id(), fileUpper->id()}));
        QVERIFY(log.lines().isEmpty());
        manager.toggle(*fileA);
        QCOMPARE(manager.selectedItemIDs(), QSet<QString>{fileUpper->id()});

        manager.disable();
        QVERIFY(manager.selectedItemIDs().isEmpty() && !manager.isEnabled());
        manager.enable();
        QVERIFY(manager.selectedItemIDs().isEmpty());
        manager.disable();

        changes.clear();
        manager.selectOnly(*fileA);
        QCOMPARE(manager.selectedItemIDs(), QSet<QString>{fileA->id()});
        QCOMPARE(changes.count(), 2);
        manager.selectOnly(*folder);
        QCOMPARE(manager.selectedItemIDs(), QSet<QString>{fileA->id()});
        QVERIFY(log.contains(QStringLiteral("skipping folder Trips!")));
    }

    void cacheKeepsOpenCollections()
    {
        ItemCollectionCache &cache = ItemCollectionCache::shared();
        const StoredItemPtr holidays = entry(QStringLiteral("Holidays"), true);
        const StoredItemPtr notes = entry(QStringLiteral("Notes.old"), true);
        QCOMPARE(ItemCollectionCache::key(*holidays, StorageLocation::cloud),
                 QStringLiteral("cloud.Holidays.inFile"));
        QCOMPARE(ItemCollectionCache::key(*notes, StorageLocation::local),
                 QStringLiteral("local.Notes.old.inFile"));

        const std::shared_ptr<ItemCollection> first = cache.collection(*holidays, StorageLocation::local);
        QCOMPARE(first->folderPath(), QStringLiteral("Holidays"));
        QCOMPARE(first->resultType(), FileItemType::file);
        QCOMPARE(cache.collection(*holidays, StorageLocation::local), first);
        const std::shared_ptr<ItemCollection> cloud = cache.collection(*holidays, StorageLocation::cloud);
        QVERIFY(cloud != first);
        QCOMPARE(cloud->location(), StorageLocation::cloud);

        first->close();
        const std::shared_ptr<ItemCollection> reopened = cache.collection(*holidays, StorageLocation::local);
        QVERIFY(reopened != first);
        QVERIFY(reopened->hasDriveManager() && reopened->firstLoad());
        cache.clear();
    }

    void cacheIsBounded()
    {
        ItemCollectionCache &cache = ItemCollectionCache::shared();
        const StoredItemPtr kept = entry(QStringLiteral("Kept"), true);
        const std::shared_ptr<ItemCollection> held = cache.collection(*kept, StorageLocation::local);
        for (int i = 0; i < ItemCollectionCache::capacity + 5; ++i)
            cache.collection(*entry(QStringLiteral("F%1").arg(i), true), StorageLocation::local);
        QCOMPARE(cache.count(), ItemCollectionCache::capacity);
        // Evicted, but alive for whoever still holds it; asking again makes a new one.
        QVERIFY(held->hasDriveManager());
        QVERIFY(cache.collection(*kept, StorageLocation::local) != held);
        cache.clear();
    }
};

LUMISERA_TEST_MAIN(TestSelectionAndCache)
#include "TestSelectionAndCache.moc"
