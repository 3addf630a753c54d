#include "AppPaths.h"
#include "LogCapture.h"
#include "SingleInstance.h"
#include "TestHome.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

struct LaterStart
{
    bool claimed = true;
    bool gotThrough = false;
};

// A later start is another process; a thread stands in for it so that the first instance's event
// loop goes on answering while the later one waits for the answer.
LaterStart startLater()
{
    auto later = std::async(std::launch::async, [] {
        SingleInstance instance;
        LaterStart result;
        result.claimed = instance.claim();
        result.gotThrough = !result.claimed && instance.notifyRunning();
        return result;
    });
    while (later.wait_for(0ms) != std::future_status::ready)
        QTest::qWait(5);
    return later.get();
}

mode_t modeOf(const QString &path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

// Sets an environment variable for as long as it lives.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QByteArray &value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_previous(qgetenv(name))
    {
        qputenv(m_name, value);
    }
    ~ScopedVariable()
    {
        if (m_wasSet)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const char *m_name;
    const bool m_wasSet;
    const QByteArray m_previous;
};

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theFirstClaimsAndALaterStartRaisesIt()
    {
        SingleInstance first;
        QVERIFY(first.claim());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        const LaterStart later = startLater();
        QVERIFY(!later.claimed);
        QVERIFY(later.gotThrough);
        QCOMPARE(raised.size(), 1);
        QVERIFY(first.claim()); // asking again keeps what it holds
        QCOMPARE(startLater().gotThrough, true);
        QCOMPARE(raised.size(), 2);
    }

    void anotherClaimsOnceTheFirstIsGone()
    {
        { // the first instance quits
            SingleInstance first;
            QVERIFY(first.claim());
        }
        SingleInstance nobodyListens;
        QVERIFY(!nobodyListens.notifyRunning(500ms));
        SingleInstance next;
        QVERIFY(next.claim());
        QSignalSpy raised(&next, &SingleInstance::raiseRequested);
        QVERIFY(startLater().gotThrough);
        QCOMPARE(raised.size(), 1);
    }

    void aCrashedInstanceDoesNotStopANewOne()
    {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            SingleInstance crashing;
            ::_exit(crashing.claim() ? 0 : 1); // no destructor runs: lock file and socket stay
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        SingleInstance next;
        QVERIFY(S_ISSOCK(modeOf(next.socketPath())));
        QVERIFY(QFileInfo::exists(QFileInfo(next.socketPath()).path() + "/lumisera.lock"));
        QVERIFY(next.claim());
        QSignalSpy raised(&next, &SingleInstance::raiseRequested);
        QVERIFY(startLater().gotThrough);
        QCOMPARE(raised.size(), 1);
    }

    void clearingTheTemporaryDirectoryKeepsTheGuard()
    {
        SingleInstance first;
        QVERIFY(first.claim());
        AppPaths::clearTemporaryDirectory();
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        const LaterStart later = startLater();
        QVERIFY(!later.claimed);
        QVERIFY(later.gotThrough);
        QCOMPARE(raised.size(), 1);
    }

    void theFolderIsPrivate_data()
    {
        QTest::addColumn<bool>("withRuntimeDirectory");
        QTest::addColumn<QString>("before"); // what is at the folder's place beforehand
        QTest::addColumn<bool>("guarded");
        QTest::newRow("made") << true << "nothing" << true;
        QTest::newRow("too open") << true << "folder 0755" << true;
        QTest::newRow("a link elsewhere") << true << "link" << false;
        QTest::newRow("no runtime directory: made") << false << "nothing" << true;
        QTest::newRow("no runtime directory: a link elsewhere") << false << "link" << false;
    }

    void theFolderIsPrivate()
    {
        QFETCH(bool, withRuntimeDirectory);
        QFETCH(QString, before);
        QFETCH(bool, guarded);
        QTemporaryDir base;
        const QString runtime = base.filePath("runtime");
        QVERIFY(QDir().mkpath(runtime));
        ScopedVariable runtimeVariable("XDG_RUNTIME_DIR",
                                       withRuntimeDirectory ? QFile::encodeName(runtime) : QByteArray());
        ScopedVariable tmpVariable("TMPDIR", QFile::encodeName(base.path()));
        const QString folder = withRuntimeDirectory
                                   ? runtime + "/lumisera-instance"
                                   : base.filePath("lumisera-instance-" + QString::number(getuid()));
        QTemporaryDir elsewhere;
        if (before == "folder 0755")
            QVERIFY(QDir().mkdir(folder) && ::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        else if (before == "link")
            QVERIFY(QFile::link(elsewhere.path(), folder));

        LogCapture capture;
        SingleInstance first("private-test");
        QVERIFY(first.claim()); // a start is never refused for want of a guard
        SingleInstance second("private-test");
        QCOMPARE(second.claim(), !guarded);
        if (guarded) {
            QCOMPARE(QFileInfo(first.socketPath()).path(), folder);
            QCOMPARE(modeOf(folder) & 0777, mode_t(0700));
            QVERIFY(capture.errors().isEmpty());
        } else {
            QVERIFY(first.socketPath().isEmpty());
            QVERIFY(QDir(elsewhere.path())
                        .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
            QVERIFY(capture.errors().filter("without the single-instance guard").size() == 2);
        }
    }
};

LUMISERA_TEST_MAIN(TestSingleInstance)
#include "TestSingleInstance.moc"
