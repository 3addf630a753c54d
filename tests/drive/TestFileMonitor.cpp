#include "CloudDrive.h"
#include "CloudDriveObserver.h"
#include "FileMonitor.h"
#include "FolderWatcher.h"
#include "LogCapture.h"
#include "TestHome.h"

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
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("x") == 1);
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

private Q_SLOTS:
    void init()
    {
        m_base = std::make_unique<QTemporaryDir>();
        m_recorder = std::make_unique<Recorder>();
        m_root = m_base->filePath("root");
        QVERIFY(QDir().mkpath(in("a")) && QDir().mkpath(in("c")) && QDir().mkpath(outside("moved")));
        QVERIFY(QFile::link(m_root, outside("link")));
        touch(in("a/old"));
    }

    void reportsChangesOnePathAtATime_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("thenTouch"); // once the first path is reported
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *tag, const QString &root, const Change &change,
                            const QStringList &expected, const QString &thenTouch = {}) {
            QTest::newRow(tag) << root << change << thenTouch << expected;
        };
        const Change create = [this] { touch(in("a/b.bin")); };
        const Change move = [this] { QVERIFY(QFile::rename(in("a/old"), in("c/old"))); };
        const Change remove = [this] { QVERIFY(QDir(m_root).removeRecursively()); };
        const Change moveIn = [this] { QVERIFY(QFile::rename(outside("moved"), in("moved"))); };
        const Change makeFolder = [this] { QVERIFY(QDir().mkdir(in("new"))); };
        row("created", "root", create, {"a/b.bin"});
        row("created, root reached through a link", "link", create, {"a/b.bin"});
        row("deleted", "link", [this] { QVERIFY(QFile::remove(in("a/old"))); }, {"a/old"});
        row("attributes", "root", [this] { QVERIFY(QFile::setPermissions(in("a/old"), {})); }, {"a/old"});
        row("at the root", "root", [this] { touch(in("top")); }, {"top"});
        row("new folder, then a file in it", "root", makeFolder, {"new", "new/inside"}, "new/inside");
        row("moved: both ends", "root", move, {"a/old", "c/old"});
        row("moved, root reached through a link", "link", move, {"a/old", "c/old"});
        row("moved out", "root", [this] { QVERIFY(QFile::rename(in("a/old"), outside("gone"))); }, {"a/old"});
        row("folder moved in, then a file in it", "root", moveIn, {"moved", "moved/later"}, "moved/later");
        row("root removed", "root", remove, {"", "a/old"});
        row("root removed, reached through a link", "link", remove, {"", "a/old"});
        row("root moved away", "root", [this] { QVERIFY(QFile::rename(m_root, outside("away"))); }, {""});
    }

    void reportsChangesOnePathAtATime()
    {
        QFETCH(QString, root);
        QFETCH(Change, change);
        QFETCH(QString, thenTouch);
        QFETCH(QStringList, expected);
        CloudDrive drive(CloudDrive::Storage::localDirectory(m_base->path()), root);
        drive.setObserver(m_recorder.get());
        change();
        for (const QString &path : expected) {
            QTRY_VERIFY2(m_recorder->paths().contains(path), qPrintable(m_recorder->paths().join(", ")));
            if (!thenTouch.isEmpty() && !QFile::exists(in(thenTouch)))
                touch(in(thenTouch));
        }
        QVERIFY(!m_recorder->paths().contains("(several in one report)"));
    }

    void relativePathSeesThroughLinks()
    {
        for (const QString &root : {m_root + "/", outside("link/")}) {
            FileMonitor monitor(root);
            QCOMPARE(monitor.relativePath(outside("link/a/old")).path(), "a/old");
            QCOMPARE(monitor.relativePath(outside("link/a/./not-yet/x")).path(), "a/not-yet/x");
        }
    }

    void stopsWithItsDrive()
    {
        const int threads = entriesIn("/proc/self/task"), descriptors = entriesIn("/proc/self/fd");
        {
            CloudDrive drive(CloudDrive::Storage::localDirectory(m_base->path()), "root");
            drive.setObserver(m_recorder.get());
            QCOMPARE(entriesIn("/proc/self/task"), threads + 1);
            touch(in("a/b.bin"));
            QTRY_VERIFY(m_recorder->paths().contains("a/b.bin"));
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
        QTRY_VERIFY(m_recorder->paths().contains("x"));
        drives.clear();
        QCOMPARE(inotifyInstances(), 0);
    }

    // Two drives holding the same folder: one leaving must not blind the other.
    void overlappingDrivesKeepTheirWatches()
    {
        Recorder inner;
        auto outer =
            std::make_unique<CloudDrive>(CloudDrive::Storage::localDirectory(m_base->path()), "root");
        CloudDrive innerDrive(CloudDrive::Storage::localDirectory(m_base->path()), "root/a");
        innerDrive.setObserver(&inner);
        outer.reset();
        touch(in("a/new"));
        QTRY_VERIFY2(inner.paths().contains("new"), qPrintable(inner.paths().join(", ")));
    }

    void resumesWhenTheRootComesBack_data()
    {
        QTest::addColumn<QString>("root");
        QTest::newRow("root") << "root";
        QTest::newRow("reached through a link") << "link";
    }

    void resumesWhenTheRootComesBack()
    {
        QFETCH(QString, root);
        CloudDrive drive(CloudDrive::Storage::localDirectory(m_base->path()), root);
        drive.setObserver(m_recorder.get());
        QVERIFY(QDir(m_root).removeRecursively());
        QTRY_VERIFY(m_recorder->paths().contains(""));
        m_recorder->m_paths.clear();
        QVERIFY(QDir().mkdir(m_root));
        QTRY_VERIFY(m_recorder->paths().contains(""));
        touch(in("later"));
        QTRY_VERIFY2(m_recorder->paths().contains("later"), qPrintable(m_recorder->paths().join(", ")));
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
