#include "AppPaths.h"
#include "CloudDrive.h"
#include "CloudDriveError.h"
#include "FileSystemError.h"
#include "PartialFile.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <functional>
#include <sys/file.h>

using Kind = CloudDriveError::Kind;
using Operation = std::function<void(const CloudDrive &)>;
Q_DECLARE_METATYPE(Operation)

namespace {
QString base(bool cloud)
{
    return cloud ? AppPaths::cloudContainer() + "/Documents" : AppPaths::documentsDirectory();
}

std::unique_ptr<CloudDrive> openDrive(bool cloud, const QString &path = "Trips", bool skipCreate = false)
{
    if (cloud)
        return std::make_unique<CloudDrive>(std::nullopt, path, skipCreate);
    return std::make_unique<CloudDrive>(CloudDrive::Storage::localDirectory(base(false)), path, skipCreate);
}

void writeFile(const QString &path, const QByteArray &data = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// The kind of CloudDriveError that call throws, if any.
std::optional<Kind> driveErrorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const CloudDriveError &error) {
        return error.kind();
    }
    return std::nullopt;
}
} // namespace

class TestCloudDrive : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(QDir().mkpath(AppPaths::cloudContainer())); }
    void cleanup() { QDir(AppPaths::dataDirectory()).removeRecursively(); }
    void creationMakesTheRootUnlessSkipped_data();
    void creationMakesTheRootUnlessSkipped();
    void cloudNeedsItsContainer();
    void signingOutFailsEveryLaterOperation_data();
    void signingOutFailsEveryLaterOperation();
    void existenceAndRemovalTellFilesFromFolders_data();
    void existenceAndRemovalTellFilesFromFolders();
    void filesRoundTripAndCopy();
    void targetURLRefusesNamesLeavingTheFolder_data();
    void targetURLRefusesNamesLeavingTheFolder();
    void pathsMayNotLeaveTheRoot();
    void leftoverPartialsGoOnlyWhenTheirWriterIsGone();
};

void TestCloudDrive::creationMakesTheRootUnlessSkipped_data()
{
    QTest::addColumn<bool>("cloud");
    QTest::addColumn<bool>("skipCreate");
    QTest::newRow("local") << false << false;
    QTest::newRow("local, skipCreate") << false << true;
    QTest::newRow("cloud") << true << false;
    QTest::newRow("cloud, skipCreate") << true << true;
}

void TestCloudDrive::creationMakesTheRootUnlessSkipped()
{
    QFETCH(bool, cloud);
    QFETCH(bool, skipCreate);
    const auto drive = openDrive(cloud, "Trips/2024", skipCreate);
    QCOMPARE(drive->rootDirectory(), base(cloud) + "/Trips/2024/");
    QCOMPARE(QFileInfo(drive->rootDirectory()).isDir(), !skipCreate);
    if (skipCreate)
        QVERIFY_THROWS_EXCEPTION(FileSystemError, drive->readFile(RootRelativePath("missing")));
    // A root that is a plain file is refused, unless nothing is checked.
    writeFile(base(cloud) + "/Notes", "plain");
    QCOMPARE(driveErrorOf([&] { openDrive(cloud, "Notes", skipCreate); }),
             skipCreate ? std::nullopt : std::optional(Kind::rootDirectoryURLIsNotDirectory));
}

void TestCloudDrive::cloudNeedsItsContainer()
{
    QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
    QCOMPARE(driveErrorOf([] { openDrive(true); }), Kind::notSignedIntoCloud);
    // A container reached through a link, as a sync client's folder would be.
    QTemporaryDir synced;
    QVERIFY(QFile::link(synced.path(), AppPaths::cloudContainer()));
    QCOMPARE(driveErrorOf([] { CloudDrive(QString("iCloud.other"), "Trips"); }),
             Kind::couldNotAccessUbiquityContainer);
    openDrive(true);
    QVERIFY(QFileInfo(synced.path() + "/Documents/Trips").isDir());
}

void TestCloudDrive::signingOutFailsEveryLaterOperation_data()
{
    QTest::addColumn<Operation>("operation");
    const RootRelativePath a("a.bin"), b("b");
    const auto block = [](const QString &) { QFAIL("the block ran"); };
    QTest::newRow("fileExists") << Operation([=](const CloudDrive &d) { d.fileExists(a); });
    QTest::newRow("directoryExists") << Operation([=](const CloudDrive &d) { d.directoryExists(a); });
    QTest::newRow("contents") << Operation(
        [=](const CloudDrive &d) { d.contentsOfDirectory(b, HiddenFiles::skip); });
    QTest::newRow("createDirectory") << Operation([=](const CloudDrive &d) { d.createDirectory(b); });
    QTest::newRow("removeDirectory") << Operation([](const CloudDrive &d) { d.removeDirectory({}); });
    QTest::newRow("removeFile") << Operation([=](const CloudDrive &d) { d.removeFile(a); });
    QTest::newRow("readFile") << Operation([=](const CloudDrive &d) { d.readFile(a); });
    QTest::newRow("readFile(in:)") << Operation([=](const CloudDrive &d) { d.readFile(a, block); });
    QTest::newRow("updateFile") << Operation([=](const CloudDrive &d) { d.updateFile(a, block); });
    QTest::newRow("writeFile") << Operation([=](const CloudDrive &d) { d.writeFile("x", b); });
    QTest::newRow("copy") << Operation([=](const CloudDrive &d) { d.copy(a, b); });
    QTest::newRow("upload") << Operation([](const CloudDrive &d) { d.upload("/etc/hostname", {}); });
    QTest::newRow("download") << Operation(
        [=](const CloudDrive &d) { d.download(a, QDir::tempPath() + "/x"); });
    QTest::newRow("leftovers") << Operation([](const CloudDrive &d) { d.removeLeftoverPartials({}); });
}

void TestCloudDrive::signingOutFailsEveryLaterOperation()
{
    QFETCH(Operation, operation);
    const auto drive = openDrive(true);
    writeFile(drive->rootDirectory() + "a.bin", "data");
    QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
    QCOMPARE(driveErrorOf([&] { operation(*drive); }), Kind::queriedWhileNotConnected);
    QCOMPARE(drive->targetURL("x", {}), drive->rootDirectory() + "x");
}

void TestCloudDrive::existenceAndRemovalTellFilesFromFolders_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isFile");
    QTest::addColumn<bool>("isFolder");
    QTest::newRow("file") << "Sub/a.bin" << true << false;
    QTest::newRow("folder") << "Sub" << false << true;
    QTest::newRow("missing") << "Sub/none" << false << false;
}

void TestCloudDrive::existenceAndRemovalTellFilesFromFolders()
{
    QFETCH(QString, path);
    QFETCH(bool, isFile);
    QFETCH(bool, isFolder);
    const auto drive = openDrive(false);
    const QString file = drive->rootDirectory() + "Sub/a.bin";
    writeFile(file, "data");
    const RootRelativePath item(path);
    QCOMPARE(drive->fileExists(item), isFile);
    QCOMPARE(drive->directoryExists(item), isFolder);
    // Removing as the wrong kind, or something missing, is refused and removes nothing.
    QCOMPARE(driveErrorOf([&] { drive->removeFile(item); }),
             isFile ? std::nullopt : std::optional(Kind::invalidFileType));
    QCOMPARE(QFile::exists(file), !isFile);
    writeFile(file, "data");
    QCOMPARE(driveErrorOf([&] { drive->removeDirectory(item); }),
             isFolder ? std::nullopt : std::optional(Kind::invalidFileType));
    QCOMPARE(QFile::exists(file), !isFolder);
}

void TestCloudDrive::filesRoundTripAndCopy()
{
    const auto drive = openDrive(false);
    drive->createDirectory(RootRelativePath("x/y"));
    QVERIFY(drive->directoryExists(RootRelativePath("x/y")));
    drive->writeFile("first", RootRelativePath("a.bin"));
    drive->writeFile("second", RootRelativePath("a.bin"));
    QCOMPARE(drive->readFile(RootRelativePath("a.bin")), QByteArray("second"));
    // The write went through a hidden sibling that is gone now.
    QCOMPARE(QDir(drive->rootDirectory()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bin"});

    drive->copy(RootRelativePath("a.bin"), RootRelativePath("x/b.bin"));
    try {
        drive->copy(RootRelativePath("a.bin"), RootRelativePath("x/b.bin"));
        QFAIL("copied onto an existing item");
    } catch (const FileSystemError &error) {
        QCOMPARE(error.code(), std::errc::file_exists);
        QVERIFY(error.description().endsWith("x/b.bin': File exists"));
    }
    QTemporaryDir outside;
    writeFile(outside.filePath("photo.jpg"), "jpeg");
    drive->upload(outside.filePath("photo.jpg"), RootRelativePath("x"));
    QCOMPARE(drive->readFile(RootRelativePath("x/photo.jpg")), QByteArray("jpeg"));
    drive->download(RootRelativePath("x/b.bin"), outside.filePath("out.bin"));
    QCOMPARE(QFile(outside.filePath("out.bin")).size(), 6);
    QCOMPARE(driveErrorOf([&] { drive->upload("/", {}); }), Kind::invalidFileType);
}

void TestCloudDrive::targetURLRefusesNamesLeavingTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // empty: refused
    QTest::newRow("trimmed") << " report.pdf \n"
                             << "a/b/report.pdf";
    QTest::newRow("leading dot") << ".pin"
                                 << "a/b/.pin";
    QTest::newRow("blank") << "  "
                           << "";
    QTest::newRow("dot") << "."
                         << "";
    QTest::newRow("dot dot") << " .. "
                             << "";
    QTest::newRow("slash") << "../escape"
                           << "";
    QTest::newRow("nul") << QString("a") + QChar() + "b"
                         << "";
}

void TestCloudDrive::targetURLRefusesNamesLeavingTheFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const auto drive = openDrive(false);
    if (!expected.isEmpty()) {
        QCOMPARE(drive->targetURL(name, RootRelativePath("a/b")), drive->rootDirectory() + expected);
        return;
    }
    QCOMPARE(driveErrorOf([&] { drive->targetURL(name, RootRelativePath("a/b")); }), Kind::invalidFileType);
}

void TestCloudDrive::pathsMayNotLeaveTheRoot()
{
    const auto drive = openDrive(false);
    writeFile(base(false) + "/secret", "keep");
    QCOMPARE(driveErrorOf([&] { drive->removeFile(RootRelativePath("./../secret")); }),
             Kind::invalidFileType);
    QCOMPARE(driveErrorOf([&] { openDrive(false, "../outside"); }), Kind::invalidFileType);
    QVERIFY(QFile::exists(base(false) + "/secret"));
}

void TestCloudDrive::leftoverPartialsGoOnlyWhenTheirWriterIsGone()
{
    const auto drive = openDrive(false);
    PartialFile abandoned(drive->rootDirectory() + "photo");
    ::flock(abandoned.fd(), LOCK_UN); // as if its writer had died
    PartialFile writing(drive->rootDirectory() + "photo");
    writeFile(drive->rootDirectory() + ".other-hidden");
    QCOMPARE(drive->removeLeftoverPartials({}), 1);
    QVERIFY(!QFile::exists(abandoned.path()));
    QVERIFY(QFile::exists(drive->rootDirectory() + ".other-hidden"));
    writing.write("done");
    writing.commit();
    QCOMPARE(drive->readFile(RootRelativePath("photo")), QByteArray("done"));
}

LUMISERA_TEST_MAIN(TestCloudDrive)
#include "TestCloudDrive.moc"
