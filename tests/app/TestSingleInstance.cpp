#include "LogCapture.h"
#include "TestHome.h"
#include "app/SingleInstance.h"
#include "core/AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

mode_t modeOf(const QString &path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

// Sets an environment variable until the returned guard goes.
auto setForNow(const char *name, const QByteArray &value)
{
    const auto previous = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    qputenv(name, value);
    return qScopeGuard([name, previous] { previous ? qputenv(name, *previous) : qunsetenv(name); });
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aLaterStartRaisesTheFirst_data()
    {
        QTest::addColumn<QString>("before"); // what an earlier first instance did
        QTest::newRow("after one that quit") << "quit";
        QTest::newRow("after one that crashed, leaving its lock file and socket") << "crash";
    }

    void aLaterStartRaisesTheFirst()
    {
        QFETCH(QString, before);
        if (before == "quit") {
            QVERIFY(SingleInstance().claim());
            QVERIFY(!SingleInstance().notifyRunning(QString(), 500ms)); // nobody answers
        } else if (before == "crash") {
            const pid_t child = ::fork();
            if (child == 0)
                ::_exit(SingleInstance().claim() ? 0 : 1); // no destructor runs: lock file and socket stay
            int status = 0;
            QVERIFY(::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0);
            const QString socket = SingleInstance().socketPath();
            QVERIFY(S_ISSOCK(modeOf(socket)) &&
                    QFileInfo::exists(QFileInfo(socket).path() + "/lumisera.lock"));
        }
        SingleInstance first;
        QVERIFY(first.claim());
        QVERIFY(first.claim());              // asking again keeps what it holds
        AppPaths::clearTemporaryDirectory(); // as every start does
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        for (int start = 1; start <= 2; ++start) {
            // A later start is another process; a thread stands in for it so that the first
            // instance's event loop goes on answering while the later one waits for the answer.
            auto later = std::async(std::launch::async, [] {
                SingleInstance instance;
                return !instance.claim() && instance.notifyRunning();
            });
            QVERIFY(QTest::qWaitFor([&later] { return later.wait_for(0ms) == std::future_status::ready; },
                                    10000));
            QVERIFY(later.get());
            QCOMPARE(raised.size(), start);
        }
    }

    // The later start's activation token reaches the first instance as it was, or not at all:
    // what is not one word of printable text is no token, and the window is raised without one.
    void theActivationTokenTravels_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("arrives");
        QTest::newRow("none") << QString() << QString();
        QTest::newRow("GNOME's") << "gnome-shell/Lumisera/4711-2-host_TIME93021"
                                 << "gnome-shell/Lumisera/4711-2-host_TIME93021";
        QTest::newRow("a UUID") << "6f1c09a4-36b2-4a5e-8d7e-3d6c1b7f0e21"
                                << "6f1c09a4-36b2-4a5e-8d7e-3d6c1b7f0e21";
        QTest::newRow("X11 startup id") << "openbox-1234-host-lumisera-0_TIME77"
                                        << "openbox-1234-host-lumisera-0_TIME77";
        QTest::newRow("with a space") << "two words" << QString();
        QTest::newRow("with a line break") << "raise\nraise" << QString();
        QTest::newRow("not ASCII") << QStringLiteral("jeton-\u00e9") << QString();
        QTest::newRow("too long") << QString(401, u'x') << QString();
        QTest::newRow("longest") << QString(400, u'x') << QString(400, u'x');
    }
    void theActivationTokenTravels()
    {
        QFETCH(QString, token);
        QFETCH(QString, arrives);
        SingleInstance first("token-test");
        QVERIFY(first.claim());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        auto later = std::async(std::launch::async, [token] {
            SingleInstance instance("token-test");
            return !instance.claim() && instance.notifyRunning(token);
        });
        QVERIFY(
            QTest::qWaitFor([&later] { return later.wait_for(0ms) == std::future_status::ready; }, 10000));
        QVERIFY(later.get());
        QCOMPARE(raised.size(), 1);
        QCOMPARE(raised.first().first().toString(), arrives);
    }

    // A request that is not "raise" or "raise TOKEN" on one line raises nothing and gets no answer.
    void aMalformedRequestRaisesNothing_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("two words after raise") << QByteArray("raise a b\n");
        QTest::newRow("another word") << QByteArray("raised\n");
        QTest::newRow("raise and a space") << QByteArray("raise \n");
        QTest::newRow("an endless line") << QByteArray("raise ") + QByteArray(2000, 'x') + '\n';
    }
    void aMalformedRequestRaisesNothing()
    {
        QFETCH(QByteArray, request);
        SingleInstance first("malformed-test");
        QVERIFY(first.claim());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        QLocalSocket socket;
        socket.connectToServer(first.socketPath());
        QVERIFY(socket.waitForConnected(2000));
        socket.write(request);
        socket.flush();
        // The first instance hangs up on it; a request it took would be answered first.
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(socket.readAll(), QByteArray());
        QCOMPARE(raised.size(), 0);
    }

    // The token is taken out of the environment, XDG's first: it is good once, and the programs
    // Lumisera starts must not reuse it.
    void theTokenComesFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QByteArray>("startupId");
        QTest::addColumn<QString>("token");
        QTest::newRow("Wayland") << QByteArray("wl-1") << QByteArray() << "wl-1";
        QTest::newRow("X11") << QByteArray() << QByteArray("x11-2_TIME3") << "x11-2_TIME3";
        QTest::newRow("both") << QByteArray("wl-1") << QByteArray("x11-2_TIME3") << "wl-1";
        QTest::newRow("Wayland's unusable")
            << QByteArray("a b") << QByteArray("x11-2_TIME3") << "x11-2_TIME3";
        QTest::newRow("neither") << QByteArray() << QByteArray() << QString();
    }
    void theTokenComesFromTheEnvironment()
    {
        QFETCH(QByteArray, xdg);
        QFETCH(QByteArray, startupId);
        QFETCH(QString, token);
        const auto xdgVariable = setForNow("XDG_ACTIVATION_TOKEN", xdg);
        const auto startupVariable = setForNow("DESKTOP_STARTUP_ID", startupId);
        QCOMPARE(SingleInstance::takeActivationToken(), token);
        QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
        QVERIFY(!qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID"));
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
        QTemporaryDir base; // the runtime directory, and the temporary one
        const auto runtimeVariable = setForNow(
            "XDG_RUNTIME_DIR", withRuntimeDirectory ? QFile::encodeName(base.path()) : QByteArray());
        const auto tmpVariable = setForNow("TMPDIR", QFile::encodeName(base.path()));
        const QString folder = base.filePath(
            withRuntimeDirectory ? QStringLiteral("lumisera-instance")
                                 : QString(QStringLiteral("lumisera-instance-") + QString::number(getuid())));
        if (before == "folder 0755")
            QVERIFY(QDir().mkdir(folder) && ::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        else if (before == "link") // to a private folder of the same user
            QVERIFY(QFile::link(base.path(), folder));

        LogCapture capture;
        SingleInstance first("private-test");
        QVERIFY(first.claim()); // a start is never refused for want of a guard
        QCOMPARE(SingleInstance("private-test").claim(), !guarded);
        QCOMPARE(capture.errors().size(), guarded ? 0 : 2);
        QCOMPARE(capture.errors().filter("without the single-instance guard").size(), guarded ? 0 : 2);
        if (guarded) {
            QCOMPARE(QFileInfo(first.socketPath()).path(), folder);
            QCOMPARE(modeOf(folder) & 0777, mode_t(0700));
        }
    }
};

LUMISERA_TEST_MAIN(TestSingleInstance)
#include "TestSingleInstance.moc"
