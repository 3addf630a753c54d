#include "CloudDrive.h"
#include "CloudDriveObserver.h"
#include "FileMonitor.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Collects the reported paths, from whichever thread reports them.
class Recorder : public CloudDriveObserver
{
public:
    void cloudDrive(CloudDrive &, const QList<RootRelativePath> &paths) override
    {
        QMutexLocker lock(&m_mutex);
        m_reportSizes.append(paths.size());
        for (const RootRelativePath &path : paths)
            m_paths.append(path.path());
    }
    QStringList paths() const
    {
        QMutexLocker lock(&m_mutex);
        return m_paths;
    }
    bool onePathPerReport() const
    {
        QMutexLocker lock(&m_mutex);
        return std::all_of(m_reportSizes.cbegin(), m_reportSizes.cend(), [](qsizetype n) { return n == 1; });
    }

private:
    mutable QMutex m_mutex;
    QStringList m_paths;
    QList<qsizetype> m_reportSizes;
};

int entriesIn(const QString &folder)
{
    return int(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}
} // namespace

class TestFileMonitor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void reportsChangesOnePathAtATime_data();
    void reportsChangesOnePathAtATime();
    void reportsBothEndsOfAMove();
    void reportsTheRootVanishing_data();
    void reportsTheRootVanishing();
    void relativePathSeesThroughLinks();
    void stopsWithItsDrive();

private:
    std::unique_ptr<QTemporaryDir> m_base;
    QString m_root;
};

void TestFileMonitor::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    m_root = m_base->filePath("root");
    QVERIFY(QDir().mkpath(m_root + "/a"));
    QVERIFY(QDir().mkpath(m_root + "/c"));
    touch(m_root + "/a/old");
}

void TestFileMonitor::reportsChangesOnePathAtATime_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("expected");
    QTest::newRow("created") << "create"
                             << "a/b.bin";
    QTest::newRow("deleted") << "delete"
                             << "a/old";
    QTest::newRow("attributes") << "chmod"
                                << "a/old";
    QTest::newRow("new folder, then a file in it") << "mkdir"
                                                   << "new/inside";
    QTest::newRow("at the root") << "rootfile"
                                 << "top";
}

void TestFileMonitor::reportsChangesOnePathAtATime()
{
    QFETCH(QString, change);
    QFETCH(QString, expected);
    Recorder recorder;
    CloudDrive drive(CloudDrive::Storage::localDirectory(m_base->path()), "root");
    drive.setObserver(&recorder);
    if (change == "create") {
        touch(m_root + "/a/b.bin");
    } else if (change == "delete") {
        QVERIFY(QFile::remove(m_root + "/a/old"));
    } else if (change == "chmod") {
        QVERIFY(QFile::setPermissions(m_root + "/a/old", QFile::ReadOwner));
    } else if (change == "mkdir") {
        QVERIFY(QDir().mkdir(m_root + "/new"));
        QTRY_VERIFY(recorder.paths().contains("new"));
        touch(m_root + "/new/inside");
    } else {
        touch(m_root + "/top");
    }
    QTRY_VERIFY(recorder.paths().contains(expected));
    QVERIFY(recorder.onePathPerReport());
    drive.setObserver(nullptr);
}

void TestFileMonitor::reportsBothEndsOfAMove()
{
    Recorder recorder;
    CloudDrive drive(CloudDrive::Storage::localDirectory(m_base->path()), "root");
    drive.setObserver(&recorder);
    QVERIFY(QFile::rename(m_root + "/a/old", m_root + "/c/old"));
    QTRY_COMPARE(recorder.paths(), QStringList({"a/old", "c/old"}));
    // Moved out of the tree, and a folder moved in with content.
    QTemporaryDir outside;
    QVERIFY(QFile::rename(m_root + "/c/old", outside.filePath("gone")));
    QTRY_VERIFY(recorder.paths().contains("c/old"));
    QVERIFY(QDir().mkpath(outside.filePath("moved")));
    QVERIFY(QFile::rename(outside.filePath("moved"), m_root + "/moved"));
    QTRY_VERIFY(recorder.paths().contains("moved"));
    touch(m_root + "/moved/later");
    QTRY_VERIFY(recorder.paths().contains("moved/later"));
    drive.setObserver(nullptr);
}

void TestFileMonitor::reportsTheRootVanishing_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<bool>("moveAway");
    QTest::newRow("removed") << false << false;
    QTest::newRow("moved away") << false << true;
    QTest::newRow("removed, root reached through a link") << true << false;
}

void TestFileMonitor::reportsTheRootVanishing()
{
    QFETCH(bool, throughLink);
    QFETCH(bool, moveAway);
    if (throughLink)
        QVERIFY(QFile::link(m_root, m_base->filePath("link")));
    Recorder recorder;
    CloudDrive drive(CloudDrive::Storage::localDirectory(m_base->path()), throughLink ? "link" : "root");
    drive.setObserver(&recorder);
    if (moveAway)
        QVERIFY(QFile::rename(m_root, m_base->filePath("elsewhere")));
    else
        QVERIFY(QDir(m_root).removeRecursively());
    QTRY_VERIFY(recorder.paths().contains(QString()));
    if (!moveAway)
        QVERIFY(recorder.paths().contains("a/old"));
    drive.setObserver(nullptr);
}

void TestFileMonitor::relativePathSeesThroughLinks()
{
    QVERIFY(QFile::link(m_root, m_base->filePath("link")));
    for (const QString &root : {m_root + "/", m_base->filePath("link") + "/"}) {
        FileMonitor monitor(root);
        QCOMPARE(monitor.relativePath(m_root + "/a/old").path(), QString("a/old"));
        QCOMPARE(monitor.relativePath(m_base->filePath("link") + "/a/old").path(), QString("a/old"));
        QCOMPARE(monitor.relativePath(m_base->filePath("link") + "/a/./not-yet/x").path(),
                 QString("a/not-yet/x"));
        QCOMPARE(monitor.relativePath(m_root).path(), QString());
    }
}

void TestFileMonitor::stopsWithItsDrive()
{
    const int threads = entriesIn("/proc/self/task");
    const int descriptors = entriesIn("/proc/self/fd");
    Recorder recorder;
    {
        CloudDrive drive(CloudDrive::Storage::localDirectory(m_base->path()), "root");
        drive.setObserver(&recorder);
        QCOMPARE(entriesIn("/proc/self/task"), threads + 1);
        touch(m_root + "/a/b.bin");
        QTRY_VERIFY(recorder.paths().contains("a/b.bin"));
    }
    // The watcher's thread has been joined and its descriptors closed: nothing can report now.
    QCOMPARE(entriesIn("/proc/self/task"), threads);
    QCOMPARE(entriesIn("/proc/self/fd"), descriptors);
}

LUMISERA_TEST_MAIN(TestFileMonitor)
#include "TestFileMonitor.moc"
