#include "QuoteServer.h"
#include "TestHome.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

// Runs the built lumisera-vault against a local quote service, in this test's private home. The rows
// run in order and share one settings file.
class TestQuoteCommand : public QObject
{
    Q_OBJECT
    QuoteServer m_server;

private Q_SLOTS:
    void initTestCase()
    {
        // Line breaks and terminal control codes (a screen clear, a bell) in what the service says.
        m_server.answer(QStringLiteral("/api/today"),
                        R"([{"q":"Line one\nline two\u001b[2J\u0007","a":"\u001b]0;owned\u0007Sage"}])");
        m_server.answer(QStringLiteral("/api/quotes"), R"([{"q":"First","a":"A"},{"q":"Second","a":"B"}])");
    }

    void quote_data()
    {
        const QString service = m_server.address();
        QTcpServer probe; // a port that nobody listens on once the probe is gone
        probe.listen(QHostAddress::LocalHost);
        const QString closed = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        using L = QStringList;
        const L today{"Line one line two [2J", "]0;owned Sage"}, first{"First", "A"}, second{"Second", "B"};
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("requests");
        const QString usage = "Usage: lumisera-vault quote [--today | --next | --cached] [--service URL]";
        QTest::newRow("help") << L{"quote", "--help"} << 0 << L{usage} << 0;
        QTest::newRow("unknown option") << L{"quote", "--tomorrow"} << 2 << L() << 0;
        QTest::newRow("two requests") << L{"quote", "--today", "--cached"} << 2 << L() << 0;
        QTest::newRow("not a web address") << L{"quote", "--service", "file:///etc"} << 2 << L() << 0;
        QTest::newRow("cached, fresh install")
            << L{"quote", "--cached", "--service", service} << 0
            << L{"Live for today, tomorrow is not a given.", "Unknown Author"} << 0;
        QTest::newRow("today") << L{"quote", "--today", "--service", service} << 0 << today << 1;
        QTest::newRow("today again, by default") << L{"quote", "--service", service} << 0 << today << 0;
        QTest::newRow("service down") << L{"quote", "--next", "--service", closed} << 0 << today << 0;
        QTest::newRow("next") << L{"--cloud", "quote", "--next", "--service=" + service} << 0 << first << 1;
        QTest::newRow("next again") << L{"quote", "--next", "--service", service} << 0 << second << 0;
        QTest::newRow("cached, after an update") << L{"quote", "--cached"} << 0 << second << 0;
    }
    void quote()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        QFETCH(int, requests);
        const int before = m_server.requestCount();
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : environment.keys())
            if (name.endsWith(QStringLiteral("_proxy"), Qt::CaseInsensitive))
                environment.remove(name);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LUMISERA_VAULT_BINARY), arguments);
        // The server answers through this event loop while the command runs.
        QVERIFY(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), status);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        QCOMPARE(out.split(u'\n', Qt::SkipEmptyParts).mid(0, lines.size()), lines);
        QCOMPARE(m_server.requestCount() - before, requests);
    }
};

LUMISERA_TEST_MAIN(TestQuoteCommand)
#include "TestQuoteCommand.moc"
