#include "TestFiles.h"
#include "TestHome.h"
#include "core/AppPaths.h"
#include "drive/CloudDrive.h"
#include "drive/CloudDriveError.h"
#include "drive/FileSystemError.h"
#include "drive/PartialFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/file.h>
#include <sys/stat.h>

using Kind = CloudDriveError::Kind;
using Path = RootRelativePath;
using Operation = std::function<void(const CloudDrive &)>;
Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(Kind)

namespace {
QString base(bool cloud)
{
    return cloud ? AppPaths::cloudContainer() + "/Documents" : AppPaths::documentsDirectory();
}

std::unique_ptr<CloudDrive> openDrive(bool cloud, const QString &path = "Trips", bool skipCreate = false)
{
    using Storage = CloudDrive::Storage;
    return std::make_unique<CloudDrive>(
        cloud ? Storage::cloudContainer() : Storage::localDirectory(base(false)), path, skipCreate);
}

void writeFile(const QString &path, const QByteArray &data = {})
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && writeBytes(path, data));
}

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

    void creationMakesTheRootUnlessSkipped_data()
    {
        QTest::addColumn<bool>("cloud");
        QTest::addColumn<bool>("skipCreate");
        for (const bool cloud : {false, true})
            for (const bool skip : {false, true})
                QTest::addRow("%s%s", cloud ? "cloud" : "local", skip ? ", skipCreate" : "") << cloud << skip;
    }

    void creationMakesTheRootUnlessSkipped()
    {
        QFETCH(bool, cloud);
        QFETCH(bool, skipCreate);
        const auto drive = openDrive(cloud, "Trips/2024", skipCreate);
        QCOMPARE(drive->rootDirectory(), base(cloud) + "/Trips/2024/");
        QCOMPARE(QFileInfo(drive->rootDirectory()).isDir(), !skipCreate);
        writeFile(base(cloud) + "/Notes", "plain");
        QCOMPARE(driveErrorOf([&] { openDrive(cloud, "Notes", skipCreate); }),
                 skipCreate ? std::nullopt : std::optional(Kind::rootDirectoryURLIsNotDirectory));
    }

    void cloudNeedsItsContainer()
    {
        QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
        QCOMPARE(driveErrorOf([] { openDrive(true); }), Kind::notSignedIntoCloud);
        // A container reached through a link, as a sync client's folder would be.
        QTemporaryDir synced;
        QVERIFY(QFile::link(synced.path(), AppPaths::cloudContainer()));
        const auto drive = openDrive(true);
        QVERIFY(QFileInfo(synced.path() + "/Documents/Trips").isDir());
    }

    void operationsFail_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Operation>("operation");
        const Path a("Sub/a.bin"), b("b");
        const auto block = [](const QString &) { QFAIL("the block ran"); };
        const auto row = [](const char *t, Kind k, const Operation &o) { QTest::newRow(t) << k << o; };
        constexpr Kind out = Kind::queriedWhileNotConnected, refused = Kind::invalidFileType;
        row("fileExists", out, [=](const CloudDrive &d) { d.fileExists(a); });
        row("directoryExists", out, [=](const CloudDrive &d) { d.directoryExists(a); });
        row("contents", out, [=](const CloudDrive &d) { d.contentsOfDirectory(b, HiddenFiles::skip); });
        row("createDirectory", out, [=](const CloudDrive &d) { d.createDirectory(b); });
        row("removeDirectory", out, [](const CloudDrive &d) { d.removeDirectory({}); });
        row("removeFile", out, [=](const CloudDrive &d) { d.removeFile(a); });
        row("readFile", out, [=](const CloudDrive &d) { d.readFile(a); });
        row("readFile(in:)", out, [=](const CloudDrive &d) { d.readFile(a, block); });
        row("updateFile", out, [=](const CloudDrive &d) { d.updateFile(a, block); });
        row("writeFile", out, [=](const CloudDrive &d) { d.writeFile("x", b); });
        row("copy", out, [=](const CloudDrive &d) { d.copy(a, b); });
        row("upload", out, [](const CloudDrive &d) { d.upload("/etc/hostname", {}); });
        row("download", out, [=](const CloudDrive &d) { d.download(a, QDir::tempPath() + "/x"); });
        row("leftovers", out, [](const CloudDrive &d) { d.removeLeftoverPartials({}); });
        row("removeFile of a folder", refused, [](const CloudDrive &d) { d.removeFile(Path("Sub")); });
        row("removeFile of nothing", refused, [](const CloudDrive &d) { d.removeFile(Path("Sub/none")); });
        row("removeDirectory of a file", refused, [=](const CloudDrive &d) { d.removeDirectory(a); });
        row("removeDirectory, none", refused, [](const CloudDrive &d) { d.removeDirectory(Path("none")); });
        row("removeFile outside", refused, [](const CloudDrive &d) { d.removeFile(Path("./../secret")); });
        row("root outside the base", refused, [](const CloudDrive &) { openDrive(false, "../outside"); });
        row("another container", Kind::couldNotAccessUbiquityContainer,
            [](const CloudDrive &) { CloudDrive(QString("iCloud.other"), "Trips"); });
        row("upload of a folder", refused, [](const CloudDrive &d) { d.upload("/", {}); });
        row("name .", refused, [](const CloudDrive &d) { d.targetURL(".", {}); });
        row("name ..", refused, [](const CloudDrive &d) { d.targetURL(" .. ", {}); });
        row("name with /", refused, [](const CloudDrive &d) { d.targetURL("../escape", {}); });
        row("NUL in name", refused, [](const CloudDrive &d) { d.targetURL(QStringLiteral("a\0b"), {}); });
    }

    void operationsFail()
    {
        QFETCH(Kind, kind);
        QFETCH(Operation, operation);
        const bool signedOut = kind == Kind::queriedWhileNotConnected;
        const auto drive = openDrive(signedOut);
        writeFile(drive->rootDirectory() + "Sub/a.bin", "data");
        writeFile(base(false) + "/secret", "keep");
        QVERIFY(!signedOut || QDir(AppPaths::cloudContainer()).removeRecursively());
        QCOMPARE(driveErrorOf([&] { operation(*drive); }), kind);
        QCOMPARE(drive->targetURL("x", {}), drive->rootDirectory() + "x"); // works also while signed out
        QVERIFY(signedOut || QFile::exists(drive->rootDirectory() + "Sub/a.bin"));
        QVERIFY(QFile::exists(base(false) + "/secret"));
    }

    void filesRoundTripAndLeftoversGo()
    {
        const auto drive = openDrive(false);
        drive->createDirectory(Path("x/y"));
        drive->writeFile("first", Path("a.bin"));
        drive->writeFile("second", Path("a.bin"));
        QVERIFY(drive->directoryExists(Path("x/y")) && !drive->fileExists(Path("x/y")));
        QVERIFY(drive->fileExists(Path("a.bin")) && !drive->directoryExists(Path("a.bin")));
        QVERIFY(!drive->fileExists(Path("none")) && !drive->directoryExists(Path("none")));
        drive->copy(Path("a.bin"), Path("x/b.bin"));
        QVERIFY_THROWS_EXCEPTION(FileSystemError, drive->copy(Path("a.bin"), Path("x/b.bin")));
        drive->download(Path("x/b.bin"), base(false) + "/out.bin");
        drive->upload(base(false) + "/out.bin", Path("x"));
        QCOMPARE(drive->readFile(Path("x/out.bin")), QByteArray("second"));
        QCOMPARE(drive->targetURL(" report.pdf \n", Path("x")), drive->rootDirectory() + "x/report.pdf");
        QCOMPARE(drive->targetURL(".pin", Path("x")), drive->rootDirectory() + "x/.pin");
        drive->removeFile(Path("a.bin"));
        drive->removeDirectory(Path("x"));
        // Nothing is left, not even the hidden siblings the writes went through.
        QVERIFY(QDir(drive->rootDirectory()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        // A write in progress has no name at all; only a file system without unnamed files shows
        // a hidden sibling, locked while it is written.
        {
            PartialFile unnamed(drive->rootDirectory() + "photo");
            QVERIFY(unnamed.path().isEmpty());
            QVERIFY(
                QDir(drive->rootDirectory()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        }
        const QString abandoned = drive->rootDirectory() + PartialFile::namePrefix + "dead";
        const QString writing = drive->rootDirectory() + PartialFile::namePrefix + "alive";
        writeFile(abandoned);
        writeFile(writing);
        writeFile(drive->rootDirectory() + ".other-hidden");
        QFile writer(writing);
        QVERIFY(writer.open(QIODevice::ReadOnly) && ::flock(writer.handle(), LOCK_EX | LOCK_NB) == 0);
        // Untouched for less than ten minutes, even an unlocked one may still be on its way.
        QCOMPARE(drive->removeLeftoverPartials({}), 0);
        const QDateTime longAgo = QDateTime::currentDateTimeUtc().addSecs(-11 * 60);
        for (const QString &path : {abandoned, writing}) {
            QFile partial(path);
            QVERIFY(partial.open(QIODevice::ReadOnly) &&
                    partial.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
        QCOMPARE(drive->removeLeftoverPartials({}), 1);
        QVERIFY(!QFile::exists(abandoned) && QFile::exists(drive->rootDirectory() + ".other-hidden"));
        QVERIFY(QFile::exists(writing));
    }

    // A sync client may bring links into a tree ("Shared" -> the home folder) and FIFOs. No
    // operation goes through one: it fails, or works on the link itself, and what lies outside
    // stays as it was.
    void linksAreNeverFollowed_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QStringList>("gone"); // entries of the tree the operation removes
        const auto row = [](const char *tag, bool succeeds, const Operation &operation,
                            const QStringList &gone = {}) {
            QTest::newRow(tag) << operation << succeeds << gone;
        };
        const auto shared = [] { return openDrive(false, "Shared", true); };
        row("open a linked folder", false, [](const CloudDrive &) { openDrive(false, "Shared"); });
        row("list a linked folder", false,
            [=](const CloudDrive &) { shared()->entriesOfDirectory({}, HiddenFiles::skip); });
        row("read through a linked folder", false,
            [=](const CloudDrive &) { shared()->readFile(Path("thesis.txt")); });
        row("remove through a linked folder", false,
            [=](const CloudDrive &) { shared()->removeFile(Path("thesis.txt")); });
        row("write into a linked folder", false,
            [=](const CloudDrive &) { shared()->writeFile("x", Path("new.txt")); });
        row("import into a linked folder", false,
            [=](const CloudDrive &) { shared()->newFile("new.txt", {}); });
        row("remove a linked folder's files", false,
            [=](const CloudDrive &) { shared()->removeDirectory({}); });
        row("a linked folder is no folder", true, [](const CloudDrive &) {
            QVERIFY(!openDrive(false, "", true)->directoryExists(Path("Shared")));
        });
        row("a linked file is no file", true,
            [](const CloudDrive &d) { QVERIFY(!d.fileExists(Path("notes"))); });
        row("read a linked file", false, [](const CloudDrive &d) { d.readFile(Path("notes")); });
        row("read a FIFO", false, [](const CloudDrive &d) { d.readFile(Path("pipe")); });
        row("copy a linked file", false, [](const CloudDrive &d) { d.copy(Path("notes"), Path("copy")); });
        row("remove a link", true, [](const CloudDrive &d) { d.removeFile(Path("notes")); }, {"Trips/notes"});
        row("remove a listed link", true,
            [](const CloudDrive &d) { d.removeListedFile(QFile::encodeName(d.rootDirectory() + "notes")); },
            {"Trips/notes"});
        row("replace a link", true, [](const CloudDrive &d) { d.writeFile("new", Path("notes")); });
        row("remove a linked folder itself", true,
            [](const CloudDrive &) { openDrive(false, "", true)->removeFile(Path("Shared")); }, {"Shared"});
        row("delete the folder holding links", true, [](const CloudDrive &d) { d.removeDirectory({}); },
            {"Trips", "Trips/inner", "Trips/inner/deeper", "Trips/notes", "Trips/pipe", "Trips/up"});
    }

    void linksAreNeverFollowed()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, succeeds);
        QFETCH(QStringList, gone);
        QTemporaryDir home;
        writeFile(home.filePath("outside/thesis.txt"), "keep");
        writeFile(home.filePath("outside/deeper/draft.txt"), "keep too");
        const auto drive = openDrive(false);
        const QString tree = base(false) + '/';
        QVERIFY(QFile::link(home.filePath("outside"), tree + "Shared"));
        QVERIFY(QFile::link(home.filePath("outside/thesis.txt"), drive->rootDirectory() + "notes"));
        QVERIFY(QFile::link(home.filePath("outside"), drive->rootDirectory() + "up"));
        QVERIFY(QDir().mkpath(drive->rootDirectory() + "inner"));
        QVERIFY(QFile::link(home.filePath("outside/deeper"), drive->rootDirectory() + "inner/deeper"));
        QCOMPARE(::mkfifo(QFile::encodeName(drive->rootDirectory() + "pipe").constData(), 0600), 0);
        const QStringList outside = filesUnder(home.filePath("outside"));
        const QStringList before = filesUnder(tree);

        bool threw = false;
        try {
            operation(*drive);
        } catch (const DriveError &) {
            threw = true;
        }
        QCOMPARE(!threw, succeeds);
        QCOMPARE(filesUnder(home.filePath("outside")), outside);
        QCOMPARE(fileContents(home.filePath("outside/thesis.txt")), QByteArray("keep"));
        QStringList expected = before;
        for (const QString &entry : gone)
            expected.removeAll(tree + entry);
        QStringList after = filesUnder(tree);
        after.removeAll(tree + "Trips/copy");
        QCOMPARE(after, expected);
    }
};

LUMISERA_TEST_MAIN(TestCloudDrive)
#include "TestCloudDrive.moc"
