#include "CloudDrive.h"
#include "DriveManager.h"
#include "DriveNotificationCenter.h"
#include "FileNaming.h"
#include "FolderOperations.h"
#include "InMemoryCredentialBackend.h"
#include "ItemCollection.h"
#include "ItemListModel.h"
#include "KeyChainHelper.h"
#include "LogCapture.h"
#include "PartialFile.h"
#include "TestHome.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QStringList fullNames(const QList<StoredItemPtr> &items)
{
    QStringList names;
    for (const StoredItemPtr &item : items)
        names.append(item->fullName());
    return names;
}

} // namespace

class TestItemCollection : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_sources;

    QString source(const QString &name, const QByteArray &content)
    {
        const QString path = m_sources.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return QString();
        return path;
    }

    // A fresh folder in the local tree and its collection, connected.
    std::unique_ptr<ItemCollection> folder(const QString &name)
    {
        ItemCollection root(StorageLocation::local, FileItemType::all, QString());
        root.driveManager()->connect();
        if (!root.createFolder(name, std::nullopt))
            return nullptr;
        auto collection = std::make_unique<ItemCollection>(StorageLocation::local, FileItemType::file,
                                                           FileNaming::adjustedFolderName(name));
        collection->driveManager()->connect();
        return collection;
    }

    // Stores every named file (content = its name) and answers the names it got.
    QStringList store(ItemCollection &collection, const QStringList &names)
    {
        QStringList stored;
        for (const QString &name : names) {
            FolderOperations operations(collection.driveManager(), collection.location());
            if (operations.addToCollectionAndDelete(source(name, name.toUtf8()), true, false))
                stored.append(operations.lastStoredName());
        }
        return stored;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sources.isValid());
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(QStringLiteral("passcode1")));
        KeyChainHelper::shared().setLoadedKey(QStringLiteral("passcode1"));
    }

    void identity()
    {
        ItemCollection root(StorageLocation::cloud, FileItemType::all, QString());
        QCOMPARE(root.cacheKey(), QStringLiteral("cloud.root.all"));
        ItemCollection trips(StorageLocation::local, FileItemType::file, QStringLiteral(" Trips "));
        QCOMPARE(trips.cacheKey(), QStringLiteral("local.Trips.file"));
        QVERIFY(trips ==
                ItemCollection(StorageLocation::local, FileItemType::file, QStringLiteral(" Trips ")));
        QVERIFY(!(trips ==
                  ItemCollection(StorageLocation::cloud, FileItemType::file, QStringLiteral(" Trips "))));
        QCOMPARE(root.timestamp(), -63114076800.0);
        QVERIFY(root.firstLoad() && !root.folderIsGone() && !root.pin());
    }

    void listingOrder()
    {
        auto collection = folder(QStringLiteral("Order"));
        QVERIFY(collection);
        const QStringList names{"b.jpg",      "A.jpg",          "a.jpg",     "report.PDF",  "z.pdf",
                                "c.txt",      "d.mov",          "Zeta.doc",  "archive.zip", "noext",
                                "\u00e9.png", "\U0001F600.png", "\uffe0.png"};
        QCOMPARE(store(*collection, names).size(), names.size());
        // Images, PDFs, documents each Z→A by scalar value (a supplementary-plane name sorts above
        // U+FFE0 though its first UTF-16 unit is smaller); unknown types are not listed.
        QCOMPARE(fullNames(collection->loadItems()),
                 (QStringList{"\U0001F600.png", "\uffe0.png", "\u00e9.png", "b.jpg", "a.jpg", "A.jpg",
                              "z.pdf", "report.PDF", "d.mov", "c.txt", "Zeta.doc"}));

        ItemCollection root(StorageLocation::local, FileItemType::all, QString());
        root.driveManager()->connect();
        for (const char *name : {"b", "A", "a"})
            QVERIFY(root.createFolder(QString::fromLatin1(name), std::nullopt));
        const QStringList folders = fullNames(root.loadItems());
        QCOMPARE(folders.mid(0, 3), (QStringList{"A", "Order", "a"}));
        QVERIFY(folders.indexOf("a") < folders.indexOf("b"));
    }

    void uniqueNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("photo") << "photo.jpg" << QStringList{"photo.jpg", "photo(1).jpg", "photo(1)(2).jpg"};
        QTest::newRow("archive") << "archive.tar.gz" << QStringList{"archive.tar.gz", "archive.tar(1).gz"};
        QTest::newRow("no extension") << "notes" << QStringList{"notes", "notes(1)"};
        QTest::newRow("even length") << "ab.txt" << QStringList{"ab.txt", "ab(1).txt"};
    }
    void uniqueNames()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, stored);
        auto collection = folder(QStringLiteral("Unique-") + QTest::currentDataTag());
        QVERIFY(collection);
        QStringList names;
        for (qsizetype i = 0; i < stored.size(); ++i) {
            FolderOperations operations(collection->driveManager(), collection->location());
            QVERIFY(operations.addToCollectionAndDelete(source(name, QByteArray::number(i)), true, false));
            names.append(operations.lastStoredName());
        }
        QCOMPARE(names, stored);
        // The first copy was not replaced by the later ones.
        const std::optional<QByteArray> first =
            collection->driveManager()->loadFile(FileNaming::storedFileName(stored.first()));
        QCOMPARE(first.value_or(QByteArray()), QByteArray("0"));
        QVERIFY(!QFileInfo::exists(m_sources.filePath(name)));
    }

    void pinFileRoundTrip()
    {
        ItemCollection root(StorageLocation::local, FileItemType::all, QString());
        root.driveManager()->connect();
        QVERIFY(root.createFolder(QStringLiteral("my-photos"), QStringLiteral("  1234 ")));
        ItemCollection folder(StorageLocation::local, FileItemType::file, QStringLiteral("my_photos"));
        folder.driveManager()->connect();
        const QString pinPath = folder.driveManager()->drive()->rootDirectory() +
                                FileNaming::scrambledName(FileNaming::pinFileName());
        QVERIFY2(QFileInfo::exists(pinPath), "the PIN file keeps its padded scrambled name");

        QSignalSpy applied(&folder, &ItemCollection::timestampChanged);
        folder.reload();
        QVERIFY(applied.wait(5000));
        QCOMPARE(folder.pin(), std::optional<QString>(QStringLiteral("1234")));
        QVERIFY(folder.items().isEmpty());

        QVERIFY(folder.removePin());
        QVERIFY(!folder.removePin());
        folder.reload();
        QVERIFY(applied.wait(5000));
        QVERIFY(!folder.pin());

        LogCapture log;
        QVERIFY(!folder.createPin(QStringLiteral("   "), QStringLiteral("my_photos")));
        QVERIFY(log.contains(QStringLiteral("no pin")));
        // A PIN file of blanks (written by hand) means no PIN, and still does not show.
        QVERIFY(folder.driveManager()->saveData(" \n", FileNaming::scrambledName(FileNaming::pinFileName())));
        const ItemCollection::Listing listing = folder.loadListing();
        QVERIFY(!listing.pin && listing.items.isEmpty());
    }

    void refusedFolderNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("dot dot") << "..";
        QTest::newRow("slash") << "a/b";
        QTest::newRow("nul") << QString::fromUtf16(u"x\0y", 3);
    }
    void refusedFolderNames()
    {
        QFETCH(QString, name);
        ItemCollection root(StorageLocation::local, FileItemType::all, QString());
        root.driveManager()->connect();
        const QStringList before =
            QDir(root.driveManager()->drive()->rootDirectory()).entryList(QDir::AllEntries | QDir::Hidden);
        LogCapture log;
        QVERIFY(!root.createFolder(name, QStringLiteral("1234")));
        QVERIFY(log.contains(QStringLiteral("refused folder name")));
        QCOMPARE(
            QDir(root.driveManager()->drive()->rootDirectory()).entryList(QDir::AllEntries | QDir::Hidden),
            before);
    }

    void debounce()
    {
        auto collection = folder(QStringLiteral("Debounce"));
        QVERIFY(collection);
        QSignalSpy checks(collection.get(), &ItemCollection::changeCheckStarted);
        QElapsedTimer clock;
        qint64 lastChange = 0;
        int sent = 0;
        QTimer changes;
        changes.setInterval(200);
        connect(&changes, &QTimer::timeout, this, [&] {
            // Same folder in another letter case; the other tree's changes never count.
            Q_EMIT DriveNotificationCenter::shared().driveDidChange(
                UpdateEvent{StorageLocation::local, QStringLiteral("DEBOUNCE"), {QStringLiteral("x")}});
            Q_EMIT DriveNotificationCenter::shared().driveDidChange(
                UpdateEvent{StorageLocation::cloud, QStringLiteral("Debounce"), {QStringLiteral("x")}});
            lastChange = clock.elapsed();
            if (++sent == 10)
                changes.stop();
        });
        clock.start();
        changes.start();
        QTRY_COMPARE_WITH_TIMEOUT(checks.count(), 1, 6000);
        QCOMPARE(sent, 10);
        QVERIFY(clock.elapsed() - lastChange >= ItemCollection::changeDelayMs - 50);
        QVERIFY(!checks.wait(1500));
        QCOMPARE(checks.count(), 1);
    }

    void folderDeletedFromOutside()
    {
        auto collection = folder(QStringLiteral("Doomed"));
        QVERIFY(collection);
        QCOMPARE(store(*collection, {"a.jpg"}).size(), 1);
        QSignalSpy applied(collection.get(), &ItemCollection::timestampChanged);
        collection->loadFirstTime();
        QTRY_COMPARE_WITH_TIMEOUT(collection->items().size(), 1, 5000);
        QVERIFY(collection->containsPhotos());
        QVERIFY(QDir(collection->driveManager()->drive()->rootDirectory()).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(collection->folderIsGone(), 10000);
        QVERIFY(collection->items().isEmpty());
        QVERIFY(!collection->containsPhotos());
        QCOMPARE(collection->pin(), std::optional<QString>(QString()));
    }

    void firstLoadListsOnce()
    {
        auto collection = folder(QStringLiteral("Once"));
        QVERIFY(collection);
        // A crashed import's leftover goes when the folder is opened.
        const QString leftover = collection->driveManager()->drive()->rootDirectory() +
                                 PartialFile::namePrefix + QStringLiteral("crashed");
        QVERIFY(QFile(leftover).open(QIODevice::WriteOnly));
        QSignalSpy applied(collection.get(), &ItemCollection::timestampChanged);
        collection->loadFirstTime();
        collection->loadFirstTime();
        QVERIFY(applied.wait(5000));
        QVERIFY(!applied.wait(300));
        QCOMPARE(applied.count(), 1);
        QVERIFY(!collection->firstLoad());
        QVERIFY(!QFileInfo::exists(leftover));
    }

    void closedCollectionRefuses()
    {
        auto collection = folder(QStringLiteral("Closed"));
        QVERIFY(collection);
        const QString photo = source(QStringLiteral("kept.jpg"), "k");
        collection->close();
        QVERIFY(!collection->hasDriveManager());
        QVERIFY(collection->firstLoad());
        LogCapture log;
        collection->reload();
        QVERIFY(!collection->addToCollectionAndDelete(photo, true, false));
        QVERIFY(!collection->removePin());
        QVERIFY(!collection->deleteFolder());
        QVERIFY(!collection->addImageData("jpeg"));
        QVERIFY(QFileInfo::exists(photo));
        QCOMPARE(log.errors().filter(QStringLiteral("Production arrested fatal: no storage manager")).size(),
                 5);
    }

    void fileOperations()
    {
        auto collection = folder(QStringLiteral("Ops"));
        QVERIFY(collection);
        QVERIFY(collection->addImageData("camera bytes"));
        LogCapture log;
        const QString missing = m_sources.filePath(QStringLiteral("missing.jpg"));
        collection->importFromFiles({missing, source(QStringLiteral("doc.pdf"), "pdf")});
        QVERIFY(log.contains(QStringLiteral("Failed copy access for ")));
        QVERIFY(QFileInfo::exists(m_sources.filePath(QStringLiteral("doc.pdf"))));
        QVERIFY(collection->addToCollectionAndDelete(source(QStringLiteral("picked.heic"), "p"), true, true));
        // A hidden stored name would never be listed again.
        QVERIFY(
            !collection->addToCollectionAndDelete(source(QStringLiteral(".hidden.txt"), "h"), false, false));

        const QList<StoredItemPtr> items = collection->loadItems();
        QCOMPARE(items.size(), 3);
        QStringList extensions;
        for (const StoredItemPtr &item : items)
            extensions.append(item->ext());
        extensions.sort();
        QCOMPARE(extensions, (QStringList{"JPEG", "JPG", "pdf"}));

        ItemListModel model(collection.get());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy applied(collection.get(), &ItemCollection::timestampChanged);
        collection->reload();
        QVERIFY(applied.wait(5000));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.data(model.index(2), ItemListModel::FullNameRole).toString(),
                 QStringLiteral("doc.pdf"));

        QVERIFY(collection->deleteFiles(items.mid(0, 2)));
        QCOMPARE(fullNames(collection->loadItems()), QStringList{"doc.pdf"});
        QVERIFY(!collection->deleteFiles(items.mid(0, 1)));
        QVERIFY(collection->deleteFolder());
        QVERIFY(!collection->driveManager()->drive());
    }
};

LUMISERA_TEST_MAIN(TestItemCollection)
#include "TestItemCollection.moc"
