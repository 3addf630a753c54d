#include "LogCapture.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "TestSession.h"
#include "core/AppPaths.h"
#include "drive/CloudDrive.h"
#include "drive/PartialFile.h"
#include "security/FileEncryptor.h"
#include "storage/DriveManager.h"
#include "storage/DriveNotificationCenter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

namespace {
QString folderPath(StorageLocation location, const QString &rootPath)
{
    const QString cloud = AppPaths::cloudContainer() + "/Documents/";
    return (location == StorageLocation::local ? AppPaths::documentsDirectory() + "/" : cloud) + rootPath;
}

QStringList entries(const QString &rootPath)
{
    return namesIn(folderPath(StorageLocation::local, rootPath));
}
} // namespace

class TestDriveManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        openTestSession("passcode");
        QVERIFY(QDir().mkpath(folderPath(StorageLocation::local, "Trips/Sub")));
        QVERIFY(QDir().mkpath(folderPath(StorageLocation::cloud, "Trips")));
    }
    void cleanup() { QDir(AppPaths::dataDirectory()).removeRecursively(); }

    void connectOpensTheFolderOnce()
    {
        using enum StorageLocation;
        for (const auto &[location, tree] :
             {std::pair{local, local}, std::pair{cloud, cloud}, std::pair{unknown, cloud}}) {
            DriveManager manager(location, "Trips");
            manager.connect();
            const std::shared_ptr<CloudDrive> drive = manager.drive();
            QVERIFY(drive && manager.directoryExists(""));
            QCOMPARE(drive->rootDirectory(), folderPath(tree, "Trips") + "/");
            manager.connect();
            QCOMPARE(manager.drive(), drive);
        }
    }

    void withoutADriveEverythingAnswersNo()
    {
        DriveManager missing(StorageLocation::local, "Nowhere");
        missing.connect();
        QVERIFY(missing.hasDrive() && !missing.directoryExists("")); // opening never makes the folder
        QVERIFY(!QFileInfo::exists(folderPath(StorageLocation::local, "Nowhere")));
        DriveManager(StorageLocation::local, "Trips").connect(); // going away leaves the folder as it is
        QCOMPARE(entries("Trips"), QStringList{"Sub"});

        LogCapture log;
        QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
        DriveManager manager(StorageLocation::cloud, "Trips");
        manager.connect();
        QVERIFY(!manager.hasDrive());
        QVERIFY(log.contains("Caught error Not signed into the cloud"));
        QVERIFY(!manager.saveData(*testSession(), "x", "name") && !manager.removeFolder() &&
                !manager.loadFile(*testSession(), "name"));
        QVERIFY(!manager.importFile(*testSession(), QCoreApplication::applicationFilePath(), "name"));
        QVERIFY(!manager.directoryExists("") && manager.listItems(FileItemType::all).isEmpty());
    }

    void dataRoundTripsEncryptedUntilTheFolderGoes()
    {
        DriveManager manager(StorageLocation::local, "Trips");
        manager.connect();
        QVERIFY(manager.saveData(*testSession(), "my secret", "stored"));
        QVERIFY(manager.saveData(*testSession(), "replaced", "stored"));
        QCOMPARE(FileEncryptor::decrypt(fileContents(folderPath(StorageLocation::local, "Trips/stored")),
                                        "passcode"),
                 QByteArray("replaced"));
        QCOMPARE(manager.loadFile(*testSession(), "stored"), QByteArray("replaced"));

        QTemporaryDir outside;
        const QString source = outside.filePath("photo.jpg");
        const QByteArray content(3 * 1024 * 1024 + 5, 'p'); // more than one chunk
        QVERIFY(writeBytes(source, content));
        QVERIFY(manager.importFile(*testSession(), source, " scrambled "));
        QVERIFY(!manager.importFile(*testSession(), outside.filePath("missing"), "other"));
        QCOMPARE(manager.loadFile(*testSession(), "scrambled"), content);
        QCOMPARE(fileContents(source), content); // the source stays

        openTestSession("another one");
        QVERIFY(!manager.loadFile(*testSession(), "stored"));
        testSession()->end(); // locked: nothing more is written
        QVERIFY(!manager.saveData(*testSession(), "x", "other"));
        QVERIFY(!manager.importFile(*testSession(), source, "other"));
        QVERIFY(!manager.loadFile(*testSession(), "scrambled"));
        QCOMPARE(entries("Trips"), (QStringList{"scrambled", "stored", "Sub"}));
        QVERIFY(manager.removeFolder() && !manager.hasDrive());
        QVERIFY(!QFileInfo::exists(folderPath(StorageLocation::local, "Trips")));
    }

    void listingFiltersByType()
    {
        const QString folder = folderPath(StorageLocation::local, "Trips/");
        for (const QString &name :
             {QString("file"), QString(".hidden"), QString(PartialFile::namePrefix + "0")})
            QVERIFY(writeBytes(folder + name, {}));
        QVERIFY(QFile::link(folder + "file", folder + "link"));
        DriveManager manager(StorageLocation::local, "Trips");
        manager.connect();
        const auto names = [&](FileItemType type) {
            QStringList found;
            for (const QUrl &url : manager.listItems(type))
                found.append(url.fileName());
            found.sort();
            return found;
        };
        // A link is not the vault's: listed neither as a file nor as a folder.
        QCOMPARE(names(FileItemType::all), QStringList({"Sub", "file"}));
        QCOMPARE(names(FileItemType::file), QStringList{"file"});
        QCOMPARE(names(FileItemType::directory), QStringList{"Sub"});
    }

    void namesThatLeaveTheFolderAreRefused()
    {
        DriveManager manager(StorageLocation::local, "Trips");
        manager.connect();
        for (const char *name : {"..", ".", "../escaped", "Sub/inside", " "}) {
            QVERIFY2(!manager.saveData(*testSession(), "x", name), name);
            QVERIFY2(!manager.importFile(*testSession(), QCoreApplication::applicationFilePath(), name),
                     name);
        }
        QCOMPARE(entries("") + entries("Trips") + entries("Trips/Sub"), (QStringList{"Trips", "Sub"}));
    }

    void relayFiltersNames()
    {
        const auto relayed = [](const QStringList &reported) {
            QList<RootRelativePath> paths;
            for (const QString &path : reported)
                paths.append(RootRelativePath(path));
            return DriveManager::relayedNames(paths);
        };
        QVERIFY(relayed({".DS_Store", "Sub/photo"}).isEmpty());
        QCOMPARE(relayed({"x", ".ds_store"}), QStringList{"x"});
        QCOMPARE(relayed({PartialFile::namePrefix + "1f", "#1234", "#1a", "y"}),
                 (QStringList{"#1a", "y"}));      // a write in progress, named or not yet
        QCOMPARE(relayed({""}), QStringList{""}); // the folder itself
        QCOMPARE(relayed({".lumisera-keycheck", "z"}), QStringList{"z"}); // no item of the listing
    }

    void changesArriveAsNotifications()
    {
        QList<UpdateEvent> events;
        QObject receiver;
        QObject::connect(
            &DriveNotificationCenter::shared(), &DriveNotificationCenter::driveDidChange, &receiver,
            [&](const UpdateEvent &event) { events.append(event); }, Qt::QueuedConnection);
        DriveManager manager(StorageLocation::local, "Trips");
        manager.connect();
        const QString folder = folderPath(StorageLocation::local, "Trips/");
        QVERIFY(writeBytes(folder + ".DS_Store", {}) && writeBytes(folder + "Sub/nested", {}));
        QVERIFY(manager.saveData(*testSession(), "x", "stored"));
        QTRY_VERIFY(!events.isEmpty() && events.last().files == QStringList{"stored"});
        for (const UpdateEvent &event : events) // nothing of the noise, nothing from inside Sub
            QVERIFY(event == (UpdateEvent{StorageLocation::local, "Trips", {"stored"}}) ||
                    event == (UpdateEvent{StorageLocation::local, "Trips", {"Sub"}}));
        // The root of a tree reports new folders under the empty path, from its own thread.
        DriveManager tree(StorageLocation::local, "");
        tree.connect();
        QVERIFY(QDir().mkpath(folderPath(StorageLocation::local, "New")));
        QTRY_VERIFY(events.contains(UpdateEvent{StorageLocation::local, "", {"New"}}));
    }

    // An import killed half-way leaves nothing, not even a hidden file: its bytes had no name yet.
    void crashMidImportLeavesNothing()
    {
        const QDir trips(folderPath(StorageLocation::local, "Trips"));
        // Large and sparse: read fast, and long enough to be caught half-way.
        QTemporaryFile source;
        QVERIFY(source.open() && source.resize(qint64(4) << 30));
        QProcess importer;
        importer.start(LUMISERA_IMPORT_CRASH_HELPER, {"big-import", source.fileName()});
        QVERIFY(importer.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(holdsFileUnder(importer.processId(), trips.path(), 1 << 20), 20000);
        importer.kill();
        QVERIFY(importer.waitForFinished());
        QCOMPARE(importer.exitStatus(), QProcess::CrashExit);
        QCOMPARE(trips.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Sub"});
    }
};

LUMISERA_TEST_MAIN(TestDriveManager)
#include "TestDriveManager.moc"
