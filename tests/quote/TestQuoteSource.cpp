#include "LogCapture.h"
#include "QuoteServer.h"
#include "QuoteSource.h"
#include "SharedData.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QGuiApplication>
#include <QNetworkProxy>
#include <QTest>

using Key = UserDefaults::Key;
using Behaviour = QuoteServer::Behaviour;

namespace {
const ComposedDailyQuote Cached{"Cached Author", "A cached quote."};
const ComposedDailyQuote Today{"Sage", "The gift of today."};
const QByteArray TodayBody = R"([{"q":"The gift of today.","a":"Sage","h":"<blockquote>...</blockquote>"}])";

QDateTime local(int day, int hour, int minute)
{
    return QDateTime(QDate(2026, 1, day), QTime(hour, minute));
}

QString closedPortAddress()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
}
} // namespace

class TestQuoteSource : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void todayAtMostOncePerDay_data();
    void todayAtMostOncePerDay();
    void batchConsumedInOrder();
    void failuresReturnTheCachedQuote_data();
    void failuresReturnTheCachedQuote();
    void rotationBeforeTheNetwork_data();
    void rotationBeforeTheNetwork();
    void undecodableStoredBatchStays();

private:
    ComposedDailyQuote ask(QuoteSource &source, const QString &url);
    void seedCache(const QDateTime &date);

    QuoteServer *m_server = nullptr;
    QuoteSource *m_source = nullptr;
    QDateTime m_now = local(15, 10, 0);
};

void TestQuoteSource::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestQuoteSource::init()
{
    UserDefaults::appDefaults()->clear();
    m_now = local(15, 10, 0);
    m_server = new QuoteServer(this);
    m_server->answer(QStringLiteral("/api/today"), 200, TodayBody);
    m_source = new QuoteSource(m_server->address(), std::chrono::seconds(20), this);
    m_source->setClock([this] { return m_now; });
}

void TestQuoteSource::cleanup()
{
    delete m_source;
    delete m_server;
}

ComposedDailyQuote TestQuoteSource::ask(QuoteSource &source, const QString &url)
{
    source.setClock([this] { return m_now; });
    QFuture<ComposedDailyQuote> future = source.quote(url);
    if (!QTest::qWaitFor([&] { return future.isFinished(); }, 30000))
        QTest::qFail("the quote did not arrive", __FILE__, __LINE__);
    return future.resultCount() ? future.result() : ComposedDailyQuote{};
}

void TestQuoteSource::seedCache(const QDateTime &date)
{
    UserDefaults::setValue(Key::author, Cached.a);
    UserDefaults::setValue(Key::quote, Cached.q);
    UserDefaults::setDate(Key::date, date);
}

void TestQuoteSource::todayAtMostOncePerDay_data()
{
    QTest::addColumn<QDateTime>("last");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("fetches");
    QTest::newRow("first run") << QDateTime() << local(15, 10, 0) << true;
    QTest::newRow("same day") << local(15, 0, 1) << local(15, 23, 59) << false;
    QTest::newRow("just after midnight") << local(15, 23, 58) << local(16, 0, 1) << true;
    QTest::newRow("clock set back a day") << local(16, 9, 0) << local(15, 9, 0) << true;
}

void TestQuoteSource::todayAtMostOncePerDay()
{
    QFETCH(QDateTime, last);
    QFETCH(QDateTime, now);
    QFETCH(bool, fetches);
    if (last.isValid())
        seedCache(last);
    m_now = now;
    LogCapture log;

    const ComposedDailyQuote quote = ask(*m_source, m_source->todayUrl());
    QCOMPARE(quote, fetches ? Today : Cached);
    QCOMPARE(m_server->requestCount(), fetches ? 1 : 0);
    QCOMPARE(log.contains("fetch required"), fetches);
    QVERIFY(log.contains("update complete for "));
    QCOMPARE(UserDefaults::quote(), quote);
    QCOMPARE(UserDefaults::date(Key::date), now);
    QCOMPARE(SharedData::shared().lastUpdatedDate(), now);
    QVERIFY(!UserDefaults::contains(Key::quoteSet));
}

void TestQuoteSource::batchConsumedInOrder()
{
    const QString batch = QStringLiteral("/api/quotes");
    m_server->answer(batch, 200,
                     R"([{"q":"One","a":"A"},{"q":"Two","a":"B","c":"9"},{"q":"Three","a":"C"}])");

    QCOMPARE(ask(*m_source, m_source->batchUrl()), (ComposedDailyQuote{"A", "One"}));
    QCOMPARE(UserDefaults::string(Key::quoteSet), R"([{"a":"B","q":"Two"},{"a":"C","q":"Three"}])");
    // The quote of the day (on the next day: the batch request served today) leaves the batch alone.
    m_now = local(16, 10, 0);
    QCOMPARE(ask(*m_source, m_source->todayUrl()), Today);
    QCOMPARE(UserDefaults::string(Key::quoteSet), R"([{"a":"B","q":"Two"},{"a":"C","q":"Three"}])");

    QCOMPARE(ask(*m_source, m_source->batchUrl()), (ComposedDailyQuote{"B", "Two"}));
    QCOMPARE(ask(*m_source, m_source->batchUrl()), (ComposedDailyQuote{"C", "Three"}));
    QCOMPARE(m_server->requestCount(batch), 1);
    QCOMPARE(UserDefaults::string(Key::quoteSet), "[]");

    m_server->answer(batch, 200, R"([{"q":"Four","a":"D"}])");
    QCOMPARE(ask(*m_source, m_source->batchUrl()), (ComposedDailyQuote{"D", "Four"}));
    QCOMPARE(m_server->requestCount(batch), 2);
    QCOMPARE(UserDefaults::quote(), (ComposedDailyQuote{"D", "Four"}));
}

void TestQuoteSource::failuresReturnTheCachedQuote_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<QString>("service"); // empty: the test server
    QTest::addColumn<QString>("logged");
    const Behaviour answer = Behaviour::answer;
    QTest::newRow("404") << 404 << TodayBody << answer << ""
                         << "FeedParser:fetch() did not get 200 status";
    QTest::newRow("not JSON") << 200 << QByteArray("<html>busy</html>") << answer << ""
                              << "FeedParser:fetch(with:) dataCorrupted(";
    QTest::newRow("not an array") << 200 << QByteArray(R"({"q":"x","a":"y"})") << answer << ""
                                  << "FeedParser:fetch(with:) typeMismatch(";
    QTest::newRow("author missing") << 200 << QByteArray(R"([{"q":"x"}])") << answer << ""
                                    << "FeedParser:fetch(with:) keyNotFound(";
    QTest::newRow("not UTF-8") << 200 << QByteArray("[{\"q\":\"\xff\",\"a\":\"y\"}]") << answer << ""
                               << "FeedParser:fetch() Can't convert feed to string";
    QTest::newRow("empty array") << 200 << QByteArray("[]") << answer << ""
                                 << "";
    QTest::newRow("oversized") << 200 << QByteArray() << Behaviour::oversized << ""
                               << "FeedParser:fetch() response too large";
    QTest::newRow("declared too large") << 200 << QByteArray() << Behaviour::declaredLarge << ""
                                        << "FeedParser:fetch() response too large";
    QTest::newRow("no answer until time-out") << 200 << QByteArray() << Behaviour::silent << ""
                                              << "FeedParser:fetch() QNetworkReply::TimeoutError: ";
    QTest::newRow("connection refused") << 200 << QByteArray() << answer << closedPortAddress()
                                        << "FeedParser:fetch() QNetworkReply::ConnectionRefusedError: ";
    QTest::newRow("not an address") << 200 << QByteArray() << answer << "http://exa mple"
                                    << "";
}

void TestQuoteSource::failuresReturnTheCachedQuote()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(Behaviour, behaviour);
    QFETCH(QString, service);
    QFETCH(QString, logged);
    const QString today = QStringLiteral("/api/today");
    if (behaviour == Behaviour::answer)
        m_server->answer(today, status, body);
    else
        m_server->behave(today, behaviour);
    seedCache(local(14, 10, 0));
    QuoteSource source(service.isEmpty() ? m_server->address() : service, std::chrono::milliseconds(300));
    LogCapture log;

    QCOMPARE(ask(source, source.todayUrl()), Cached);
    QCOMPARE(m_server->requestCount(today), service.isEmpty() ? 1 : 0);
    QVERIFY2(log.contains(logged), qPrintable(log.lines().join('\n')));
    QVERIFY(log.contains("fetch required"));
    QCOMPARE(UserDefaults::quote(), Cached);
    QCOMPARE(UserDefaults::date(Key::date), m_now);
    // The client stopped reading at the limit instead of taking all the server offered.
    QVERIFY(m_server->streamedBytes() < 16 * 1024 * 1024);
}

void TestQuoteSource::rotationBeforeTheNetwork_data()
{
    QTest::addColumn<bool>("rotate");
    QTest::addColumn<int>("status");
    QTest::addColumn<QDateTime>("last");
    QTest::addColumn<QString>("expected");
    QTest::newRow("off") << false << 200 << local(14, 8, 0) << "triplets";
    QTest::newRow("on, fetched") << true << 200 << local(14, 8, 0) << "darkZen";
    QTest::newRow("on, fetch failed") << true << 404 << local(14, 8, 0) << "darkZen";
    QTest::newRow("on, fresh today") << true << 200 << local(15, 8, 0) << "triplets";
}

void TestQuoteSource::rotationBeforeTheNetwork()
{
    QFETCH(bool, rotate);
    QFETCH(int, status);
    QFETCH(QDateTime, last);
    QFETCH(QString, expected);
    UserDefaults::setValue(Key::rotateImage, rotate);
    UserDefaults::setValue(Key::backgroundImage, QStringLiteral("triplets"));
    m_server->answer(QStringLiteral("/api/today"), status, TodayBody);
    seedCache(last);
    QStringList seenByServer;
    connect(m_server, &QuoteServer::requestReceived, this,
            [&] { seenByServer << UserDefaults::string(Key::backgroundImage); });

    ask(*m_source, m_source->todayUrl());
    QCOMPARE(UserDefaults::string(Key::backgroundImage), expected);
    QCOMPARE(seenByServer, last.date() == m_now.date() ? QStringList() : QStringList{expected});
}

void TestQuoteSource::undecodableStoredBatchStays()
{
    const QString broken = QStringLiteral("[{\"a\":\"B\",\"q\":");
    UserDefaults::setValue(Key::quoteSet, broken);
    seedCache(local(15, 8, 0));
    LogCapture log;

    for (int request = 0; request < 2; ++request)
        QCOMPARE(ask(*m_source, m_source->batchUrl()), Cached);
    QCOMPARE(m_server->requestCount(), 0);
    QCOMPARE(log.errors().filter("FeedParser:fetch(with:) dataCorrupted(").size(), 2);
    QCOMPARE(UserDefaults::string(Key::quoteSet), broken);
    QCOMPARE(UserDefaults::date(Key::date), m_now);
}

LUMISERA_TEST_MAIN(TestQuoteSource)
#include "TestQuoteSource.moc"
