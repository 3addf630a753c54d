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

#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <unistd.h>

using Kind = CloudDriveError::Kind;
using Operation = std::function<void(const CloudDrive &)>;
Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Operation)

namespace {
enum class Tree { local, cloud };

QString base(Tree tree)
{
    return tree == Tree::local ? AppPaths::documentsDirectory() : AppPaths::cloudContainer() + "/Documents";
}

std::unique_ptr<CloudDrive> openDrive(Tree tree, const QString &path, bool skipCreate = false)
{
    if (tree == Tree::local)
        return std::make_unique<CloudDrive>(CloudDrive::Storage::localDirectory(base(tree)), path,
                                            skipCreate);
    return std::make_unique<CloudDrive>(std::nullopt, path, skipCreate);
}

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// Runs call and answers the kind of CloudDriveError it threw, or nothing.
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

Q_DECLARE_METATYPE(Tree)

class TestCloudDrive : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void creationMakesTheRootUnlessSkipped_data();
    void creationMakesTheRootUnlessSkipped();
    void rootThatIsAPlainFileIsRefused_data();
    void rootThatIsAPlainFileIsRefused();
    void cloudNeedsItsContainer();
    void signingOutFailsEveryLaterOperation_data();
    void signingOutFailsEveryLaterOperation();
    void existenceTellsFilesFromFolders_data();
    void existenceTellsFilesFromFolders();
    void removalRefusesTheOtherKind_data();
    void removalRefusesTheOtherKind();
    void filesRoundTripAndCopy();
    void callerBlocksRunOnTheItem();
    void listingSkipsHiddenEntriesWhenAsked();
    void targetURLTrimsAndRefusesNamesLeavingTheFolder_data();
    void targetURLTrimsAndRefusesNamesLeavingTheFolder();
    void pathsMayNotLeaveTheRoot();
    void appendingJoinsComponents();
    void leftoverPartialsGoOnlyWhenTheirWriterIsGone();
};

void TestCloudDrive::init()
{
    QVERIFY(QDir().mkpath(AppPaths::cloudContainer()));
}

void TestCloudDrive::cleanup()
{
    QDir(AppPaths::dataDirectory()).removeRecursively();
}

void TestCloudDrive::creationMakesTheRootUnlessSkipped_data()
{
    QTest::addColumn<Tree>("tree");
    QTest::addColumn<bool>("skipCreate");
    QTest::newRow("local") << Tree::local << false;
    QTest::newRow("local, skipCreate") << Tree::local << true;
    QTest::newRow("cloud") << Tree::cloud << false;
    QTest::newRow("cloud, skipCreate") << Tree::cloud << true;
}

void TestCloudDrive::creationMakesTheRootUnlessSkipped()
{
    QFETCH(Tree, tree);
    QFETCH(bool, skipCreate);
    const auto drive = openDrive(tree, "Trips/2024", skipCreate);
    QCOMPARE(drive->rootDirectory(), base(tree) + "/Trips/2024/");
    QCOMPARE(QFileInfo(drive->rootDirectory()).isDir(), !skipCreate);
    QCOMPARE(drive->ubiquityContainerIdentifier().has_value(), false);
    QVERIFY(drive->isConnected());
    if (skipCreate) {
        QVERIFY(!drive->directoryExists(RootRelativePath::root()));
        QVERIFY_THROWS_EXCEPTION(FileSystemError, drive->readFile(RootRelativePath("missing")));
    }
}

void TestCloudDrive::rootThatIsAPlainFileIsRefused_data()
{
    QTest::addColumn<Tree>("tree");
    QTest::newRow("local") << Tree::local;
    QTest::newRow("cloud") << Tree::cloud;
}

void TestCloudDrive::rootThatIsAPlainFileIsRefused()
{
    QFETCH(Tree, tree);
    writeFile(base(tree) + "/Notes", "plain");
    QCOMPARE(driveErrorOf([&] { openDrive(tree, "Notes"); }), Kind::rootDirectoryURLIsNotDirectory);
    // Over whatever is there, nothing is checked.
    const auto drive = openDrive(tree, "Notes", true);
    QVERIFY(!drive->directoryExists(RootRelativePath::root()));
    QCOMPARE(QFile(base(tree) + "/Notes").size(), 5);
}

void TestCloudDrive::cloudNeedsItsContainer()
{
    QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
    QCOMPARE(driveErrorOf([] { CloudDrive(std::nullopt, "Trips"); }), Kind::notSignedIntoCloud);
    QVERIFY(QDir().mkpath(AppPaths::cloudContainer()));
    QCOMPARE(driveErrorOf([] { CloudDrive(QString("iCloud.other"), "Trips"); }),
             Kind::couldNotAccessUbiquityContainer);
    // A container reached through a link, as a sync client's folder would be.
    QTemporaryDir synced;
    QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
    QVERIFY(QFile::link(synced.path(), AppPaths::cloudContainer()));
    CloudDrive drive(std::nullopt, "Trips");
    QVERIFY(QFileInfo(synced.path() + "/Documents/Trips").isDir());
    QVERIFY(QFile::remove(AppPaths::cloudContainer()));
}

void TestCloudDrive::signingOutFailsEveryLaterOperation_data()
{
    QTest::addColumn<Operation>("operation");
    const RootRelativePath file("a.bin");
    const auto block = [](const QString &) { QFAIL("the block must not run"); };
    QTest::newRow("fileExists") << Operation([=](const CloudDrive &d) { d.fileExists(file); });
    QTest::newRow("directoryExists") << Operation([=](const CloudDrive &d) { d.directoryExists(file); });
    QTest::newRow("contents") << Operation(
        [](const CloudDrive &d) { d.contentsOfDirectory(RootRelativePath::root(), HiddenFiles::skip); });
    QTest::newRow("createDirectory") << Operation([=](const CloudDrive &d) { d.createDirectory(file); });
    QTest::newRow("removeDirectory") << Operation([](const CloudDrive &d) { d.removeDirectory({}); });
    QTest::newRow("removeFile") << Operation([=](const CloudDrive &d) { d.removeFile(file); });
    QTest::newRow("readFile") << Operation([=](const CloudDrive &d) { d.readFile(file); });
    QTest::newRow("readFile(in:)") << Operation([=](const CloudDrive &d) { d.readFile(file, block); });
    QTest::newRow("updateFile") << Operation([=](const CloudDrive &d) { d.updateFile(file, block); });
    QTest::newRow("writeFile") << Operation([=](const CloudDrive &d) { d.writeFile("x", file); });
    QTest::newRow("copy") << Operation([=](const CloudDrive &d) { d.copy(file, RootRelativePath("b")); });
    QTest::newRow("upload") << Operation([](const CloudDrive &d) { d.upload("/etc/hostname", {}); });
    QTest::newRow("download") << Operation([=](const CloudDrive &d) { d.download(file, QDir::tempPath()); });
    QTest::newRow("leftovers") << Operation([](const CloudDrive &d) { d.removeLeftoverPartials({}); });
}

void TestCloudDrive::signingOutFailsEveryLaterOperation()
{
    QFETCH(Operation, operation);
    const auto drive = openDrive(Tree::cloud, "Trips");
    writeFile(drive->rootDirectory() + "a.bin", "data");
    QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
    QVERIFY(!drive->isConnected());
    QCOMPARE(driveErrorOf([&] { operation(*drive); }), Kind::queriedWhileNotConnected);
    QCOMPARE(drive->targetURL("x", {}), drive->rootDirectory() + "x");
}

void TestCloudDrive::existenceTellsFilesFromFolders_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isFile");
    QTest::addColumn<bool>("isFolder");
    QTest::newRow("file") << "Sub/a.bin" << true << false;
    QTest::newRow("folder") << "Sub" << false << true;
    QTest::newRow("missing") << "Sub/none" << false << false;
    QTest::newRow("root") << "" << false << true;
}

void TestCloudDrive::existenceTellsFilesFromFolders()
{
    QFETCH(QString, path);
    QFETCH(bool, isFile);
    QFETCH(bool, isFolder);
    const auto drive = openDrive(Tree::local, "Trips");
    writeFile(drive->rootDirectory() + "Sub/a.bin", "data");
    QCOMPARE(drive->fileExists(RootRelativePath(path)), isFile);
    QCOMPARE(drive->directoryExists(RootRelativePath(path)), isFolder);
}

void TestCloudDrive::removalRefusesTheOtherKind_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("removeFolder");
    QTest::addColumn<bool>("refused");
    QTest::newRow("file as file") << "Sub/a.bin" << false << false;
    QTest::newRow("folder as folder") << "Sub" << true << false;
    QTest::newRow("folder as file") << "Sub" << false << true;
    QTest::newRow("file as folder") << "Sub/a.bin" << true << true;
    QTest::newRow("missing file") << "Sub/none" << false << true;
    QTest::newRow("missing folder") << "None" << true << true;
}

void TestCloudDrive::removalRefusesTheOtherKind()
{
    QFETCH(QString, path);
    QFETCH(bool, removeFolder);
    QFETCH(bool, refused);
    const auto drive = openDrive(Tree::local, "Trips");
    writeFile(drive->rootDirectory() + "Sub/a.bin", "data");
    const RootRelativePath item(path);
    const auto error =
        driveErrorOf([&] { removeFolder ? drive->removeDirectory(item) : drive->removeFile(item); });
    QCOMPARE(error, refused ? std::optional(Kind::invalidFileType) : std::nullopt);
    QCOMPARE(QFile::exists(drive->rootDirectory() + "Sub/a.bin"), refused);
}

void TestCloudDrive::filesRoundTripAndCopy()
{
    const auto drive = openDrive(Tree::local, "Trips");
    drive->createDirectory(RootRelativePath("x/y"));
    QVERIFY(drive->directoryExists(RootRelativePath("x/y")));
    drive->writeFile("first", RootRelativePath("a.bin"));
    drive->writeFile("second", RootRelativePath("a.bin"));
    QCOMPARE(drive->readFile(RootRelativePath("a.bin")), QByteArray("second"));
    // The write went through a hidden sibling that is gone now.
    QCOMPARE(QDir(drive->rootDirectory()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bin"});

    drive->copy(RootRelativePath("a.bin"), RootRelativePath("x/b.bin"));
    QCOMPARE(drive->readFile(RootRelativePath("x/b.bin")), QByteArray("second"));
    try {
        drive->copy(RootRelativePath("a.bin"), RootRelativePath("x/b.bin"));
        QFAIL("copied onto an existing item");
    } catch (const FileSystemError &error) {
        QCOMPARE(error.code(), std::errc::file_exists);
        QVERIFY(error.description().contains("x/b.bin"));
    }

    QTemporaryDir outside;
    writeFile(outside.filePath("photo.jpg"), "jpeg");
    drive->upload(outside.filePath("photo.jpg"), RootRelativePath("x"));
    QCOMPARE(drive->readFile(RootRelativePath("x/photo.jpg")), QByteArray("jpeg"));
    drive->download(RootRelativePath("x/b.bin"), outside.filePath("out.bin"));
    QCOMPARE(QFile(outside.filePath("out.bin")).size(), 6);
    QCOMPARE(driveErrorOf([&] { drive->upload("/", {}); }), Kind::invalidFileType);
    QVERIFY_THROWS_EXCEPTION(FileSystemError, drive->readFile(RootRelativePath("x")));
}

void TestCloudDrive::callerBlocksRunOnTheItem()
{
    const auto drive = openDrive(Tree::local, "Trips");
    QString seen;
    drive->updateFile(RootRelativePath("a/b.bin"), [&](const QString &path) { seen = path; });
    QCOMPARE(seen, drive->rootDirectory() + "a/b.bin");
    const auto failing = [](const QString &path) {
        throw FileSystemError({EIO, std::generic_category()}, "x", path);
    };
    try {
        drive->readFile(RootRelativePath("a/b.bin"), failing);
        QFAIL("the block's error was lost");
    } catch (const FileSystemError &error) {
        QCOMPARE(error.code().value(), EIO);
    }
}

void TestCloudDrive::listingSkipsHiddenEntriesWhenAsked()
{
    const auto drive = openDrive(Tree::local, "Trips");
    writeFile(drive->rootDirectory() + "visible", "");
    writeFile(drive->rootDirectory() + ".hidden", "");
    writeFile(drive->rootDirectory() + "Sub/nested", "");
    QStringList skipped = drive->contentsOfDirectory({}, HiddenFiles::skip);
    QStringList all = drive->contentsOfDirectory({}, HiddenFiles::include);
    skipped.sort();
    all.sort();
    const QString root = drive->rootDirectory();
    QCOMPARE(skipped, QStringList({root + "Sub", root + "visible"}));
    QCOMPARE(all, QStringList({root + ".hidden", root + "Sub", root + "visible"}));
}

void TestCloudDrive::targetURLTrimsAndRefusesNamesLeavingTheFolder_data()
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
    QTest::newRow("trailing slash") << "folder/"
                                    << "";
    QTest::newRow("nul") << QString("a") + QChar() + "b"
                         << "";
}

void TestCloudDrive::targetURLTrimsAndRefusesNamesLeavingTheFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const auto drive = openDrive(Tree::local, "Trips");
    if (expected.isEmpty()) {
        QCOMPARE(driveErrorOf([&] { drive->targetURL(name, RootRelativePath("a/b")); }),
                 Kind::invalidFileType);
        QCOMPARE(driveErrorOf([&] { CloudDrive::checkFileName(name); }), Kind::invalidFileType);
    } else {
        QCOMPARE(drive->targetURL(name, RootRelativePath("a/b")), drive->rootDirectory() + expected);
    }
}

void TestCloudDrive::pathsMayNotLeaveTheRoot()
{
    const auto drive = openDrive(Tree::local, "Trips");
    writeFile(base(Tree::local) + "/secret", "keep");
    QCOMPARE(driveErrorOf([&] { drive->removeFile(RootRelativePath("../secret")); }), Kind::invalidFileType);
    QCOMPARE(driveErrorOf([&] { drive->readFile(RootRelativePath("./../secret")); }), Kind::invalidFileType);
    QCOMPARE(driveErrorOf([&] { openDrive(Tree::local, "../outside"); }), Kind::invalidFileType);
    QVERIFY(QFile::exists(base(Tree::local) + "/secret"));
}

void TestCloudDrive::appendingJoinsComponents()
{
    QCOMPARE(RootRelativePath::root().appending("x").path(), QString("x"));
    QCOMPARE(RootRelativePath("x").appending("y/").path(), QString("x/y"));
    QCOMPARE(RootRelativePath("x"), RootRelativePath::root().appending("x"));
    QCOMPARE(driveErrorOf([] { RootRelativePath("a").fileURL("relative/"); }),
             Kind::rootDirectoryURLIsNotDirectory);
    QCOMPARE(driveErrorOf([] { RootRelativePath("a").fileURL("/no/slash"); }),
             Kind::rootDirectoryURLIsNotDirectory);
    QCOMPARE(RootRelativePath("a").directoryURL("/r/"), QString("/r/a/"));
}

void TestCloudDrive::leftoverPartialsGoOnlyWhenTheirWriterIsGone()
{
    const auto drive = openDrive(Tree::local, "Trips");
    const QString target = drive->rootDirectory() + "photo";
    auto abandoned = std::make_unique<PartialFile>(target);
    const QString abandonedPath = abandoned->path();
    // Imitates a writer that died: its lock is gone, its file stays.
    ::flock(abandoned->fd(), LOCK_UN);
    PartialFile writing(target);
    writeFile(drive->rootDirectory() + ".other-hidden", "");
    QCOMPARE(drive->removeLeftoverPartials({}), 1);
    QVERIFY(!QFile::exists(abandonedPath));
    QVERIFY(QFile::exists(writing.path()));
    QVERIFY(QFile::exists(drive->rootDirectory() + ".other-hidden"));
    writing.write("done");
    writing.commit();
    QCOMPARE(drive->readFile(RootRelativePath("photo")), QByteArray("done"));
}

LUMISERA_TEST_MAIN(TestCloudDrive)
#include "TestCloudDrive.moc"
