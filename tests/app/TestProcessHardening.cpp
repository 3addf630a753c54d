// Both programs start with no core file and a memory that no other process may read: a crash (a
// decoder, say) must not leave the passcode or decrypted pictures in the crash handler's files.
#include "TestHome.h"
#include "core/ProcessHardening.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/prctl.h>
#include <sys/resource.h>

namespace {
// The "Max core file size" soft and hard limits of a running process.
QString coreLimits(qint64 pid)
{
    QFile limits(QStringLiteral("/proc/%1/limits").arg(pid));
    if (!limits.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : limits.readAll().split('\n')) {
        if (line.startsWith("Max core file size"))
            return QString::fromLatin1(line.mid(26)).simplified().section(QLatin1Char(' '), 0, 1);
    }
    return {};
}
} // namespace

class TestProcessHardening : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bothPrograms_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("lumisera") << QStringLiteral(LUMISERA_WINDOW_PROGRAM) << QStringList();
        // Waits at the prompt for the passcode on its standard input.
        QTest::newRow("lumisera-vault")
            << QStringLiteral(LUMISERA_VAULT_PROGRAM)
            << QStringList{QStringLiteral("--passcode-stdin"), QStringLiteral("init")};
    }
    void bothPrograms()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        // The programs start with this process's limits: they must differ from what is checked.
        rlimit own{};
        QCOMPARE(::getrlimit(RLIMIT_CORE, &own), 0);
        own.rlim_cur = own.rlim_max;
        ::setrlimit(RLIMIT_CORE, &own);
        if (coreLimits(QCoreApplication::applicationPid()) == QStringLiteral("0 0"))
            QSKIP("core files are off for this test already");
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const char *bus : {"DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS"})
            environment.insert(QLatin1String(bus), QStringLiteral("unix:path=/nonexistent"));
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
        // Read once the program is past its start: the limit is set before anything else.
        QTRY_COMPARE_WITH_TIMEOUT(coreLimits(process.processId()), QStringLiteral("0 0"), 10000);
        process.kill();
        process.waitForFinished();
    }

    // Last: it lowers this process's own limit for good.
    void inThisProcess()
    {
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_CORE, &unlimited); // may fail for the hard limit: the soft one is what counts
        QVERIFY(ProcessHardening::apply());
        rlimit core{};
        QCOMPARE(::getrlimit(RLIMIT_CORE, &core), 0);
        QCOMPARE(core.rlim_cur, rlim_t(0));
        QCOMPARE(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
    }
};

LUMISERA_TEST_MAIN(TestProcessHardening)

#include "TestProcessHardening.moc"
