#include "AppPaths.h"
#include "CloudDrive.h"
#include "DriveManager.h"
#include "DriveNotificationCenter.h"
#include "FileEncryptor.h"
#include "InMemoryCredentialBackend.h"
#include "KeyChainHelper.h"
#include "LogCapture.h"
#include "PartialFile.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Passcode = QStringLiteral("passcode");

QString folderPath(StorageLocation location, const QString &rootPath)
{
    const QString base = location == StorageLocation::local ? AppPaths::documentsDirectory()
                                                            : AppPaths::cloudContainer() + "/Documents";
    return base + "/" + rootPath;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

Q_DECLARE_METATYPE(StorageLocation)

class TestDriveManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void connectOpensTheFolderOnce_data();
    void connectOpensTheFolderOnce();
    void failedConnectionLeavesNoDrive();
    void withoutADriveEverythingAnswersNo();
    void dataRoundTripsEncryptedUntilTheFolderGoes();
    void listingFiltersByType();
    void importEncryptsAndLeavesTheSource();
    void namesThatLeaveTheFolderAreRefused_data();
    void namesThatLeaveTheFolderAreRefused();
    void relayFiltersNames_data();
    void relayFiltersNames();
    void changesArriveAsNotifications();
    void crashMidImportLeavesNothingListed();
};

void TestDriveManager::initTestCase()
{
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
}

void TestDriveManager::init()
{
    QVERIFY(KeyChainHelper::shared().saveKey(Passcode));
    QVERIFY(QDir().mkpath(folderPath(StorageLocation::local, "Trips")));
    QVERIFY(QDir().mkpath(folderPath(StorageLocation::cloud, "Trips")));
}

void TestDriveManager::cleanup()
{
    QDir(AppPaths::dataDirectory()).removeRecursively();
}

void TestDriveManager::connectOpensTheFolderOnce_data()
{
    QTest::addColumn<StorageLocation>("location");
    QTest::addColumn<StorageLocation>("tree");
    QTest::newRow("local") << StorageLocation::local << StorageLocation::local;
    QTest::newRow("cloud") << StorageLocation::cloud << StorageLocation::cloud;
    QTest::newRow("unknown opens the cloud") << StorageLocation::unknown << StorageLocation::cloud;
}

void TestDriveManager::connectOpensTheFolderOnce()
{
    QFETCH(StorageLocation, location);
    QFETCH(StorageLocation, tree);
    DriveManager manager(location, "Trips");
    QVERIFY(!manager.hasDrive());
    manager.connect();
    const std::shared_ptr<CloudDrive> drive = manager.drive();
    QVERIFY(drive);
    QCOMPARE(drive->rootDirectory(), folderPath(tree, "Trips") + "/");
    QCOMPARE(drive->observer(), &manager);
    manager.connect();
    QCOMPARE(manager.drive(), drive);
    QVERIFY(manager.directoryExists(""));
    QCOMPARE(manager.description(), "Trips" + rawValue(location));
}

void TestDriveManager::failedConnectionLeavesNoDrive()
{
    LogCapture log;
    DriveManager missing(StorageLocation::local, "Nowhere");
    missing.connect();
    // Opening never creates the folder: the drive is there, the folder is not.
    QVERIFY(missing.hasDrive());
    QVERIFY(!missing.directoryExists(""));
    QVERIFY(!QFileInfo::exists(folderPath(StorageLocation::local, "Nowhere")));

    QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
    DriveManager signedOut(StorageLocation::cloud, "Trips");
    signedOut.connect();
    QVERIFY(!signedOut.hasDrive());
    QVERIFY(log.contains("Caught error Not signed into the cloud"));
    QVERIFY(log.contains("Production arrested fatal: Failed to create drive for 'cloud.Trips' "));
}

void TestDriveManager::withoutADriveEverythingAnswersNo()
{
    LogCapture log;
    DriveManager manager(StorageLocation::local, "Trips");
    QVERIFY(!manager.saveData("x", "name"));
    QVERIFY(!manager.importFile(QCoreApplication::applicationFilePath(), "name"));
    QVERIFY(!manager.removeFolder());
    QVERIFY(!manager.directoryExists(""));
    QVERIFY(manager.listItems(FileItemType::all).isEmpty());
    QVERIFY(!manager.loadFile("name"));
    QVERIFY(log.contains("DriveManager:loadFile(_:) Can't load file w/o drive"));
    {
        DriveManager released(StorageLocation::local, "Trips");
        released.connect();
    }
    QCOMPARE(log.infos().filter(QRegularExpression(": DriveManager deinit: Tripslocal$")).size(), 1);
    QVERIFY(entries(folderPath(StorageLocation::local, "Trips")).isEmpty());
    QVERIFY(QFileInfo::exists(folderPath(StorageLocation::local, "Trips")));
}

void TestDriveManager::dataRoundTripsEncryptedUntilTheFolderGoes()
{
    DriveManager manager(StorageLocation::local, "Trips");
    manager.connect();
    QVERIFY(manager.saveData("my secret", "stored"));
    QVERIFY(manager.saveData("replaced", "stored"));
    QFile onDisk(folderPath(StorageLocation::local, "Trips/stored"));
    QVERIFY(onDisk.open(QIODevice::ReadOnly));
    QCOMPARE(FileEncryptor::decrypt(onDisk.readAll(), Passcode), QByteArray("replaced"));
    QCOMPARE(manager.loadFile("stored"), QByteArray("replaced"));
    QCOMPARE(entries(folderPath(StorageLocation::local, "Trips")), QStringList{"stored"});

    LogCapture log;
    QVERIFY(KeyChainHelper::shared().saveKey("another one"));
    QVERIFY(!manager.loadFile("stored"));
    QVERIFY(log.contains("Caught error The file could not be decrypted"));
    QVERIFY(KeyChainHelper::shared().deleteKey());
    QVERIFY(!manager.saveData("x", "other"));
    QVERIFY(log.contains("Caught error No passcode is available"));
    QCOMPARE(entries(folderPath(StorageLocation::local, "Trips")), QStringList{"stored"});
    QVERIFY(manager.removeFolder());
    QVERIFY(!manager.hasDrive());
    QVERIFY(!QFileInfo::exists(folderPath(StorageLocation::local, "Trips")));
}

void TestDriveManager::listingFiltersByType()
{
    const QString folder = folderPath(StorageLocation::local, "Trips");
    QVERIFY(QDir(folder).mkdir("Sub"));
    for (const QString &name : QStringList{"file", ".hidden", PartialFile::namePrefix + "0"}) {
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(folder + "/file", folder + "/link"));
    DriveManager manager(StorageLocation::local, "Trips");
    manager.connect();
    const auto names = [&](FileItemType type) {
        QStringList found;
        for (const QUrl &url : manager.listItems(type))
            found.append(url.fileName());
        found.sort();
        return found;
    };
    QCOMPARE(names(FileItemType::all), QStringList({"Sub", "file", "link"}));
    QCOMPARE(names(FileItemType::file), QStringList{"file"});
    QCOMPARE(names(FileItemType::directory), QStringList{"Sub"});
}

void TestDriveManager::importEncryptsAndLeavesTheSource()
{
    QTemporaryDir outside;
    QFile source(outside.filePath("photo.jpg"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    const QByteArray content(3 * 1024 * 1024 + 5, 'p');
    source.write(content);
    source.close();
    DriveManager manager(StorageLocation::cloud, "Trips");
    manager.connect();
    QVERIFY(manager.importFile(source.fileName(), " scrambled "));
    QCOMPARE(manager.loadFile("scrambled"), content);
    QCOMPARE(source.size(), content.size());
    QCOMPARE(entries(folderPath(StorageLocation::cloud, "Trips")), QStringList{"scrambled"});
    // A source that cannot be read leaves nothing either.
    QVERIFY(!manager.importFile(outside.filePath("missing"), "other"));
    QCOMPARE(entries(folderPath(StorageLocation::cloud, "Trips")), QStringList{"scrambled"});
}

void TestDriveManager::namesThatLeaveTheFolderAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "..";
    QTest::newRow("self") << ".";
    QTest::newRow("up and out") << "../escaped";
    QTest::newRow("into a subfolder") << "Sub/inside";
    QTest::newRow("blank") << " ";
}

void TestDriveManager::namesThatLeaveTheFolderAreRefused()
{
    QFETCH(QString, name);
    QVERIFY(QDir().mkpath(folderPath(StorageLocation::local, "Trips/Sub")));
    DriveManager manager(StorageLocation::local, "Trips");
    manager.connect();
    LogCapture log;
    QVERIFY(!manager.saveData("x", name));
    QVERIFY(!manager.importFile(QCoreApplication::applicationFilePath(), name));
    QCOMPARE(
        log.errors().filter("Caught error The item is missing, is of the other kind, or has a name").size(),
        2);
    QCOMPARE(entries(folderPath(StorageLocation::local, "")), QStringList{"Trips"});
    QCOMPARE(entries(folderPath(StorageLocation::local, "Trips")), QStringList{"Sub"});
    QVERIFY(entries(folderPath(StorageLocation::local, "Trips/Sub")).isEmpty());
}

void TestDriveManager::relayFiltersNames_data()
{
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QStringList>("relayed");
    QTest::newRow("only noise") << QStringList{".DS_Store", "Sub/photo"} << QStringList{};
    QTest::newRow("one change and noise") << QStringList{"x", ".ds_store"} << QStringList{"x"};
    QTest::newRow("a write in progress")
        << QStringList{PartialFile::namePrefix + "1f", "y"} << QStringList{"y"};
    QTest::newRow("the folder itself") << QStringList{""} << QStringList{""};
}

void TestDriveManager::relayFiltersNames()
{
    QFETCH(QStringList, reported);
    QFETCH(QStringList, relayed);
    QList<RootRelativePath> paths;
    for (const QString &path : reported)
        paths.append(RootRelativePath(path));
    QCOMPARE(DriveManager::relayedNames(paths), relayed);
}

void TestDriveManager::changesArriveAsNotifications()
{
    QList<UpdateEvent> events;
    QObject receiver;
    QObject::connect(
        &DriveNotificationCenter::shared(), &DriveNotificationCenter::driveDidChange, &receiver,
        [&](const UpdateEvent &event) { events.append(event); }, Qt::QueuedConnection);
    DriveManager manager(StorageLocation::local, "Trips");
    manager.connect();
    const QString folder = folderPath(StorageLocation::local, "Trips");
    QVERIFY(QDir().mkpath(folder + "/Sub"));
    QFile(folder + "/.DS_Store").open(QIODevice::WriteOnly);
    QFile(folder + "/Sub/nested").open(QIODevice::WriteOnly);
    QVERIFY(manager.saveData("x", "stored"));
    QTRY_VERIFY(!events.isEmpty() && events.last().files == QStringList{"stored"});
    for (const UpdateEvent &event : events) {
        QCOMPARE(event.location, StorageLocation::local);
        QCOMPARE(event.inPath, QString("Trips"));
        QCOMPARE(event.files.size(), 1);
        QVERIFY(event.files.first() == "Sub" || event.files.first() == "stored");
    }
    // The root of a tree reports new folders, under the empty root path.
    DriveManager tree(StorageLocation::local, "");
    tree.connect();
    QVERIFY(QDir().mkpath(folderPath(StorageLocation::local, "New")));
    // Reports of separate drives arrive on separate threads, in no set order between them.
    QTRY_VERIFY(events.contains(UpdateEvent{StorageLocation::local, "", {"New"}}));
}

void TestDriveManager::crashMidImportLeavesNothingListed()
{
    const QString folder = folderPath(StorageLocation::local, "Trips");
    QProcess importer;
    importer.start(LUMISERA_IMPORT_CRASH_HELPER, {"big-import"});
    QVERIFY(importer.waitForStarted());
    const QByteArray chunk(256 * 1024, 'z');
    const auto partialHasBytes = [&] {
        if (importer.bytesToWrite() < 4 * chunk.size())
            importer.write(chunk);
        const QStringList partials =
            QDir(folder).entryList({PartialFile::namePrefix + "*"}, QDir::Files | QDir::Hidden);
        return !partials.isEmpty() && QFileInfo(folder + "/" + partials.first()).size() > 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(partialHasBytes(), 20000);
    importer.kill();
    QVERIFY(importer.waitForFinished());
    QCOMPARE(importer.exitStatus(), QProcess::CrashExit);

    DriveManager manager(StorageLocation::local, "Trips");
    manager.connect();
    QVERIFY(manager.listItems(FileItemType::all).isEmpty());
    QCOMPARE(entries(folder).size(), 1);
    QCOMPARE(manager.removeLeftovers(), 1);
    QVERIFY(entries(folder).isEmpty());
}

LUMISERA_TEST_MAIN(TestDriveManager)
#include "TestDriveManager.moc"
