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
using namespace std::chrono_literals;

namespace {
const ComposedDailyQuote Cached{"Cached Author", "A cached quote."};
const ComposedDailyQuote Today{"Sage", "The gift of today."};
const QByteArray TodayBody = R"([{"q":"The gift of today.","a":"Sage","h":"<blockquote>"}])";
const QString TodayPath = QStringLiteral("/api/today");
const QString BatchPath = QStringLiteral("/api/quotes");

QDateTime local(int day, int hour, int minute)
{
    return QDateTime(QDate(2026, 1, day), QTime(hour, minute));
}
} // namespace

class TestQuoteSource : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }
    void init();
    void todayAtMostOncePerDay_data();
    void todayAtMostOncePerDay();
    void batchConsumedInOrder();
    void failuresReturnTheCachedQuote_data();
    void failuresReturnTheCachedQuote();
    void rotationBeforeTheNetwork_data();
    void rotationBeforeTheNetwork();
    void undecodableStoredBatchStays();

private:
    ComposedDailyQuote ask(const QString &path, std::chrono::milliseconds timeout = 20s);
    void seedCache(const QDateTime &date);

    std::unique_ptr<QuoteServer> m_server;
    QDateTime m_now;
};

void TestQuoteSource::init()
{
    UserDefaults::appDefaults()->clear();
    m_now = local(15, 10, 0);
    m_server = std::make_unique<QuoteServer>();
    m_server->answer(TodayPath, TodayBody);
}

// The source keeps nothing between requests: all its state is in the settings store.
ComposedDailyQuote TestQuoteSource::ask(const QString &path, std::chrono::milliseconds timeout)
{
    QuoteSource source(m_server->address(), timeout);
    source.setClock([this] { return m_now; });
    QFuture<ComposedDailyQuote> future = source.quote(m_server->address() + path);
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

    const ComposedDailyQuote quote = ask(TodayPath);
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
    const QString rest = R"([{"a":"B","q":"Two"},{"a":"C","q":"Three"}])";
    m_server->answer(BatchPath, R"([{"q":"One","a":"A"},{"q":"Two","a":"B","c":"9"},{"q":"Three","a":"C"}])");
    QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"A", "One"}));
    QCOMPARE(UserDefaults::string(Key::quoteSet), rest);
    // The quote of the day (on the next day: the batch request served today) leaves the batch alone.
    m_now = local(16, 10, 0);
    QCOMPARE(ask(TodayPath), Today);
    QCOMPARE(UserDefaults::string(Key::quoteSet), rest);

    QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"B", "Two"}));
    QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"C", "Three"}));
    QCOMPARE(m_server->requestCount(BatchPath), 1);
    QCOMPARE(UserDefaults::string(Key::quoteSet), "[]");

    m_server->answer(BatchPath, R"([{"q":"Four","a":"D"}])");
    QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"D", "Four"}));
    QCOMPARE(m_server->requestCount(BatchPath), 2);
    QCOMPARE(UserDefaults::quote(), (ComposedDailyQuote{"D", "Four"}));
}

void TestQuoteSource::failuresReturnTheCachedQuote_data()
{
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("logged");
    const Behaviour answer = Behaviour::answer;
    const QString fetch = QStringLiteral("FeedParser:fetch() ");
    const QString decode = QStringLiteral("FeedParser:fetch(with:) ");
    QTest::newRow("404") << answer << 404 << TodayBody << fetch + "did not get 200 status";
    QTest::newRow("not JSON") << answer << 200 << QByteArray("<html>") << decode + "dataCorrupted(";
    QTest::newRow("not an array") << answer << 200 << QByteArray(R"({"q":"x","a":"y"})")
                                  << decode + "typeMismatch(";
    QTest::newRow("author missing") << answer << 200 << QByteArray(R"([{"q":"x"}])")
                                    << decode + "keyNotFound(";
    QTest::newRow("not UTF-8") << answer << 200 << QByteArray("[{\"q\":\"\xff\",\"a\":\"y\"}]")
                               << fetch + "Can't convert feed to string";
    QTest::newRow("empty array") << answer << 200 << QByteArray("[]") << "";
    QTest::newRow("hung up") << Behaviour::hangUp << 0 << QByteArray() << fetch + "QNetworkReply::";
    QTest::newRow("oversized") << Behaviour::oversized << 200 << QByteArray() << fetch + "response too large";
    QTest::newRow("declared too large")
        << Behaviour::declaredLarge << 200 << QByteArray() << fetch + "response too large";
    QTest::newRow("time-out") << Behaviour::silent << 0 << QByteArray()
                              << fetch + "QNetworkReply::TimeoutError: ";
}

void TestQuoteSource::failuresReturnTheCachedQuote()
{
    QFETCH(Behaviour, behaviour);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, logged);
    m_server->answer(TodayPath, body, status, behaviour);
    seedCache(local(14, 10, 0));
    LogCapture log;

    QCOMPARE(ask(TodayPath, behaviour == Behaviour::silent ? 300ms : 20s), Cached);
    QVERIFY(m_server->requestCount(TodayPath) >= 1); // the client may retry a dropped connection
    QVERIFY2(log.contains(logged), qPrintable(log.lines().join('\n')));
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
    m_server->answer(TodayPath, TodayBody, status);
    seedCache(last);
    QStringList seenByServer;
    connect(m_server.get(), &QuoteServer::requestReceived, this,
            [&] { seenByServer << UserDefaults::string(Key::backgroundImage); });

    ask(TodayPath);
    QCOMPARE(UserDefaults::string(Key::backgroundImage), expected);
    QCOMPARE(seenByServer, last.date() == m_now.date() ? QStringList() : QStringList{expected});
}

void TestQuoteSource::undecodableStoredBatchStays()
{
    const QString broken = QStringLiteral("[{\"a\":\"B\",\"q\":");
    UserDefaults::setValue(Key::quoteSet, broken);
    seedCache(local(15, 8, 0));
    LogCapture log;

    QCOMPARE(ask(BatchPath), Cached);
    QCOMPARE(ask(BatchPath), Cached);
    QCOMPARE(m_server->requestCount(), 0);
    QCOMPARE(log.errors().filter("FeedParser:fetch(with:) dataCorrupted(").size(), 2);
    QCOMPARE(UserDefaults::string(Key::quoteSet), broken);
    QCOMPARE(UserDefaults::date(Key::date), m_now);
}

LUMISERA_TEST_MAIN(TestQuoteSource)
#include "TestQuoteSource.moc"
