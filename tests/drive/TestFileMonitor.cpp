#include "LogCapture.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "drive/CloudDrive.h"
#include "drive/CloudDriveError.h"
#include "drive/CloudDriveObserver.h"
#include "drive/FileMonitor.h"
#include "drive/FolderWatcher.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace {
struct Recorder : CloudDriveObserver
{
    void cloudDrive(CloudDrive &, const QList<RootRelativePath> &paths) override
    {
        QMutexLocker lock(&m_mutex);
        if (paths.size() != 1)
            m_paths.append("(several in one report)");
        for (const RootRelativePath &path : paths)
            m_paths.append(path.path());
    }
    QStringList paths() const
    {
        QMutexLocker lock(&m_mutex);
        return m_paths;
    }
    mutable QMutex m_mutex;
    QStringList m_paths;
};

int entriesIn(const QString &folder)
{
    return int(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

int inotifyInstances()
{
    int count = 0;
    const QDir descriptors("/proc/self/fd");
    for (const QString &name :
         descriptors.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
        char target[64] = {};
        const ssize_t length =
            ::readlink(QFile::encodeName(descriptors.filePath(name)).constData(), target, sizeof target - 1);
        count += length > 0 && QByteArray(target, length) == "anon_inode:inotify";
    }
    return count;
}

void touch(const QString &path)
{
    QVERIFY(writeBytes(path, "x"));
}

using Change = std::function<void()>;
} // namespace
Q_DECLARE_METATYPE(Change)

class TestFileMonitor : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_base;
    std::unique_ptr<Recorder> m_recorder;
    QString m_root;

    QString in(const QString &path) const { return m_root + "/" + path; }
    QString outside(const QString &name) const { return m_base->filePath(name); }

    // A drive on path below base (this test's folder when empty), reporting to recorder.
    std::unique_ptr<CloudDrive> watched(const QString &path = "root", Recorder *recorder = nullptr,
                                        const QString &base = {})
    {
        auto drive = std::make_unique<CloudDrive>(
            CloudDrive::Storage::localDirectory(base.isEmpty() ? m_base->path() : base), path);
        drive->setObserver(recorder ? recorder : m_recorder.get());
        return drive;
    }

    bool reported(const QString &path) const { return m_recorder->paths().contains(path); }

private Q_SLOTS:
    void init()
    {
        m_base = std::make_unique<QTemporaryDir>();
        m_recorder = std::make_unique<Recorder>();
        m_root = m_base->filePath("root");
        QVERIFY(QDir().mkpath(in("a")) && QDir().mkpath(in("c")) && QDir().mkpath(outside("moved")));
        QVERIFY(QFile::link(m_root, outside("link")));
        touch(in("a/old"));
        touch(in("old"));
    }

    void reportsChangesOnePathAtATime_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *tag, const Change &change, const QStringList &expected) {
            QTest::newRow(tag) << change << expected;
        };
        const Change move = [this] { QVERIFY(QFile::rename(in("old"), in("c.bin"))); };
        const Change remove = [this] { QVERIFY(QDir(m_root).removeRecursively()); };
        const Change moveIn = [this] { QVERIFY(QFile::rename(outside("moved"), in("moved"))); };
        row("created", [this] { touch(in("b.bin")); }, {"b.bin"});
        row("deleted", [this] { QVERIFY(QFile::remove(in("old"))); }, {"old"});
        row("attributes", [this] { QVERIFY(QFile::setPermissions(in("old"), {})); }, {"old"});
        row("new folder", [this] { QVERIFY(QDir().mkdir(in("new"))); }, {"new"});
        row("moved: both ends", move, {"old", "c.bin"});
        row("moved out", [this] { QVERIFY(QFile::rename(in("old"), outside("gone"))); }, {"old"});
        row("folder moved in", moveIn, {"moved"});
        row("root removed", remove, {"", "old", "a"});
        row("root moved away", [this] { QVERIFY(QFile::rename(m_root, outside("away"))); }, {""});
    }

    void reportsChangesOnePathAtATime()
    {
        QFETCH(Change, change);
        QFETCH(QStringList, expected);
        const auto drive = watched();
        change();
        for (const QString &path : expected)
            QTRY_VERIFY2(m_recorder->paths().contains(path), qPrintable(m_recorder->paths().join(", ")));
        QVERIFY(!m_recorder->paths().contains("(several in one report)"));
    }

    // A drive shows its root folder only: one watch, however deep the tree below it, so that the
    // per-user budget of watches stays for the sync client.
    void watchesOnlyItsRootFolder()
    {
        QString deep = in("a");
        for (int level = 0; level < 60; ++level)
            deep += "/d";
        QVERIFY(QDir().mkpath(deep));
        const auto drive = watched();
        QCOMPARE(FolderWatcher::shared()->watchCount(), 1);
        touch(deep + "/inside");
        touch(in("a/inside"));
        touch(in("top"));
        // Reports come in the kernel's order: any report from below would have come first.
        QTRY_VERIFY(reported("top"));
        QCOMPARE(m_recorder->paths().filter("inside"), QStringList());
        QCOMPARE(FolderWatcher::shared()->watchCount(), 1);
    }

    // A root that a sync client replaced by a link leads nowhere: no drive opens on it, and
    // what happens where the link points is not watched.
    void linkedRootIsNeitherOpenedNorWatched()
    {
        try {
            CloudDrive drive(CloudDrive::Storage::localDirectory(m_base->path()), "link");
            QFAIL("a drive opened on a link");
        } catch (const CloudDriveError &error) {
            QCOMPARE(error.kind(), CloudDriveError::Kind::rootDirectoryURLIsNotDirectory);
        }
        QVERIFY(QFile::link(outside("moved"), in("shortcut")));
        const auto drive = watched();
        touch(outside("moved/behind-the-link"));
        touch(in("top"));
        QTRY_VERIFY(reported("top"));
        QCOMPARE(m_recorder->paths().filter("behind"), QStringList());
    }

    // A root removed and made again is watched again; the cloud tree lies behind the
    // CloudContainer link, so the way to a root may pass links.
    void resumesWhenTheRootComesBack_data()
    {
        QTest::addColumn<bool>("behindALink");
        QTest::newRow("direct") << false;
        QTest::newRow("behind a link on the way") << true;
    }
    void resumesWhenTheRootComesBack()
    {
        QFETCH(bool, behindALink);
        QVERIFY(QDir().mkpath(outside("real/tree/root")));
        QVERIFY(QFile::link(outside("real"), outside("container")));
        const QString root = behindALink ? outside("real/tree/root") : m_root;
        const auto drive = watched("root", nullptr, behindALink ? outside("container/tree") : QString());
        touch(root + "/x");
        QTRY_VERIFY2(reported("x"), qPrintable(m_recorder->paths().join(", ")));
        QVERIFY(QDir(root).removeRecursively());
        QTRY_VERIFY(reported(""));
        m_recorder->m_paths.clear();
        QVERIFY(QDir().mkdir(root));
        QTRY_VERIFY(reported("")); // watched again
        touch(root + "/later");
        QTRY_VERIFY2(reported("later"), qPrintable(m_recorder->paths().join(", ")));
    }

    void relativePathSeesThroughLinks()
    {
        for (const QString &root : {QString(m_root + "/"), outside("link/")}) {
            FileMonitor monitor(root);
            QCOMPARE(monitor.relativePath(outside("link/a/old")).path(), "a/old");
            QCOMPARE(monitor.relativePath(outside("link/a/./not-yet/x")).path(), "a/not-yet/x");
        }
    }

    void stopsWithItsDrive()
    {
        const int threads = entriesIn("/proc/self/task"), descriptors = entriesIn("/proc/self/fd");
        {
            const auto drive = watched();
            QCOMPARE(entriesIn("/proc/self/task"), threads + 1);
            touch(in("b.bin"));
            QTRY_VERIFY(reported("b.bin"));
        }
        // The watcher's thread has been joined and its descriptors closed: nothing can report now.
        QCOMPARE(entriesIn("/proc/self/task"), threads);
        QCOMPARE(entriesIn("/proc/self/fd"), descriptors);
    }

    // More folders than the usual per-user limit of 128 inotify instances.
    void manyDrivesShareOneWatcher()
    {
        const int threads = entriesIn("/proc/self/task");
        std::vector<std::unique_ptr<CloudDrive>> drives;
        for (int i = 0; i < 150; ++i) {
            drives.push_back(std::make_unique<CloudDrive>(CloudDrive::Storage::localDirectory(m_base->path()),
                                                          QString("many/%1").arg(i)));
        }
        drives.back()->setObserver(m_recorder.get());
        QCOMPARE(inotifyInstances(), 1);
        QCOMPARE(entriesIn("/proc/self/task"), threads + 1);
        QCOMPARE(FolderWatcher::shared()->watchCount(), 150);
        touch(m_base->filePath("many/149/x"));
        QTRY_VERIFY(reported("x"));
        drives.clear();
        QCOMPARE(inotifyInstances(), 0);
    }

    // Two drives holding the same folder: one leaving must not blind the other.
    void overlappingDrivesKeepTheirWatches()
    {
        Recorder inner;
        auto outer =
            std::make_unique<CloudDrive>(CloudDrive::Storage::localDirectory(m_base->path()), "root/a");
        const auto innerDrive = watched("root/a", &inner);
        outer.reset();
        touch(in("a/new"));
        QTRY_VERIFY2(inner.paths().contains("new"), qPrintable(inner.paths().join(", ")));
    }

    // With no inotify instance to be had, the drive still opens and reads; one line says why.
    void worksWithoutWatching()
    {
        rlimit saved{};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &saved) == 0);
        LogCapture log;
        std::unique_ptr<CloudDrive> drives[2];
        {
            rlimit tight = saved;
            tight.rlim_cur = rlim_t(::dup(0)); // the lowest free descriptor: none left above it
            ::close(int(tight.rlim_cur));
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &tight) == 0);
            for (auto &drive : drives)
                drive =
                    std::make_unique<CloudDrive>(CloudDrive::Storage::localDirectory(m_base->path()), "root");
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &saved) == 0);
        }
        const QStringList listed = drives[1]->contentsOfDirectory(RootRelativePath("a"), HiddenFiles::skip);
        QVERIFY(listed.size() == 1 && listed.first().endsWith("/a/old"));
        QCOMPARE(log.errors().size(), 1);
        QVERIFY2(log.errors().first().contains("Folder watching is not available"),
                 qPrintable(log.errors().first()));
    }
};

LUMISERA_TEST_MAIN(TestFileMonitor)
#include "TestFileMonitor.moc"
