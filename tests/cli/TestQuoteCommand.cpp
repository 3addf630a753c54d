#include "QuoteServer.h"
#include "TestHome.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

namespace {
struct Outcome
{
    int status = -1;
    QStringList lines;
};
} // namespace

// Runs the built lumisera-vault against a local quote service, in this test's private home.
class TestQuoteCommand : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void quote_data();
    void quote();
    void cachedShowsWhatTheLastUpdateStored();

private:
    Outcome vault(const QStringList &arguments);

    QuoteServer m_server;
};

void TestQuoteCommand::init()
{
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") +
                  QStringLiteral("/group.com.morvenda.calmora.ini"));
    m_server.answer(QStringLiteral("/api/today"), R"([{"q":"Line one\nline two","a":"Sage"}])");
    m_server.answer(QStringLiteral("/api/quotes"), R"([{"q":"First","a":"A"},{"q":"Second","a":"B"}])");
}

Outcome TestQuoteCommand::vault(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *proxy :
         {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"})
        environment.remove(QString::fromLatin1(proxy));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LUMISERA_VAULT_BINARY), arguments);
    // The server answers through this event loop while the command runs.
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)};
}

void TestQuoteCommand::quote_data()
{
    const QString service = m_server.address();
    QTcpServer probe; // a port that nobody listens on once the probe is gone
    probe.listen(QHostAddress::LocalHost);
    const QString closed = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
    probe.close();
    const QStringList fallback{"Live for today, tomorrow is not a given.", "Unknown Author"};
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("requests");
    QTest::newRow("today by default")
        << QStringList{"quote", "--service", service} << 0 << QStringList{"Line one line two", "Sage"} << 1;
    QTest::newRow("next from the batch") << QStringList{"--cloud", "quote", "--next", "--service=" + service}
                                         << 0 << QStringList{"First", "A"} << 1;
    QTest::newRow("cached, no network")
        << QStringList{"quote", "--cached", "--service", service} << 0 << fallback << 0;
    QTest::newRow("service down") << QStringList{"quote", "--service", closed} << 0 << fallback << 0;
    QTest::newRow("help")
        << QStringList{"quote", "--help"} << 0
        << QStringList{"Usage: lumisera-vault quote [--today | --next | --cached] [--service URL]"} << 0;
    QTest::newRow("unknown option") << QStringList{"quote", "--tomorrow"} << 2 << QStringList() << 0;
    QTest::newRow("two requests") << QStringList{"quote", "--today", "--cached"} << 2 << QStringList() << 0;
    QTest::newRow("not a web address")
        << QStringList{"quote", "--service", "file:///etc"} << 2 << QStringList() << 0;
}

void TestQuoteCommand::quote()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    QFETCH(int, requests);
    const int before = m_server.requestCount();

    const Outcome outcome = vault(arguments);
    QCOMPARE(outcome.status, status);
    QCOMPARE(outcome.lines.mid(0, lines.size()), lines);
    QCOMPARE(m_server.requestCount() - before, requests);
}

void TestQuoteCommand::cachedShowsWhatTheLastUpdateStored()
{
    const QStringList service{"--service", m_server.address()};
    const int before = m_server.requestCount(QStringLiteral("/api/quotes"));
    QCOMPARE(vault(QStringList{"quote", "--next"} + service).lines, (QStringList{"First", "A"}));
    QCOMPARE(vault(QStringList{"quote", "--next"} + service).lines, (QStringList{"Second", "B"}));
    QCOMPARE(vault({"quote", "--cached"}).lines, (QStringList{"Second", "B"}));
    QCOMPARE(m_server.requestCount(QStringLiteral("/api/quotes")) - before, 1);
}

LUMISERA_TEST_MAIN(TestQuoteCommand)
#include "TestQuoteCommand.moc"
