#include "LogCapture.h"
#include "QuoteServer.h"
#include "TestHome.h"
#include "core/UserDefaults.h"
#include "quote/QuoteSource.h"

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

const auto local = [](int day, int hour, int minute) {
    return QDateTime(QDate(2026, 1, day), QTime(hour, minute));
};
} // namespace

class TestQuoteSource : public QObject
{
    Q_OBJECT

    std::unique_ptr<QuoteServer> m_server;
    QDateTime m_now;
    QStringList m_seenByServer; // the background image as each request arrived

    // The source keeps nothing between requests: all its state is in the settings store.
    ComposedDailyQuote ask(const QString &path, std::chrono::milliseconds timeout = 20s)
    {
        QuoteSource source(m_server->address(), timeout);
        source.setClock([this] { return m_now; });
        QFuture<ComposedDailyQuote> future = source.quote(m_server->address() + path);
        const bool arrived = QTest::qWaitFor([&] { return future.isFinished(); }, 30000);
        return arrived && future.resultCount() ? future.result() : ComposedDailyQuote{};
    }

private Q_SLOTS:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }
    void init()
    {
        UserDefaults::appDefaults()->clear();
        m_now = local(15, 10, 0);
        m_server = std::make_unique<QuoteServer>();
        m_server->answer(TodayPath, TodayBody);
        m_seenByServer.clear();
        connect(m_server.get(), &QuoteServer::requestReceived, this,
                [this] { m_seenByServer << UserDefaults::string(Key::backgroundImage); });
        // Rotation comes before the network access, and only when the network is asked.
        UserDefaults::setValue(Key::rotateImage, true);
        UserDefaults::setValue(Key::backgroundImage, QStringLiteral("triplets"));
    }

    void todayAtMostOncePerDay_data()
    {
        QTest::addColumn<QDateTime>("last");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("fetches");
        QTest::newRow("first run") << QDateTime() << local(15, 10, 0) << true;
        QTest::newRow("same day") << local(15, 0, 1) << local(15, 23, 59) << false;
        QTest::newRow("just after midnight") << local(15, 23, 58) << local(16, 0, 1) << true;
        QTest::newRow("clock set back a day") << local(16, 9, 0) << local(15, 9, 0) << true;
    }
    void todayAtMostOncePerDay()
    {
        QFETCH(QDateTime, last);
        QFETCH(QDateTime, now);
        QFETCH(bool, fetches);
        if (last.isValid())
            UserDefaults::saveQuote(Cached, last);
        m_now = now;
        QCOMPARE(ask(TodayPath), fetches ? Today : Cached);
        QCOMPARE(m_server->requestCount(), fetches ? 1 : 0);
        QCOMPARE(UserDefaults::date(Key::date), now);
        QCOMPARE(UserDefaults::string(Key::backgroundImage), fetches ? "darkZen" : "triplets");
        QCOMPARE(m_seenByServer, fetches ? QStringList{"darkZen"} : QStringList());
    }

    void batchConsumedInOrderThenFetchedAgain()
    {
        const QString rest = R"([{"a":"B","q":"Two"},{"a":"C","q":"Three"}])";
        UserDefaults::setValue(Key::rotateImage, false);
        m_server->answer(BatchPath, R"([{"q":"One","a":"A"},{"q":"Two","a":"B"},{"q":"Three","a":"C"}])");
        QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"A", "One"}));
        QCOMPARE(UserDefaults::string(Key::quoteSet), rest);
        // The quote of the day (next day: the batch request served today) leaves the batch alone.
        m_now = local(16, 10, 0);
        QCOMPARE(ask(TodayPath), Today);
        QCOMPARE(UserDefaults::string(Key::quoteSet), rest);

        QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"B", "Two"}));
        QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"C", "Three"}));
        QCOMPARE(m_server->requestCount(BatchPath), 1);
        m_server->answer(BatchPath, R"([{"q":"Four","a":"D"}])");
        QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"D", "Four"}));
        QCOMPARE(UserDefaults::quote(), (ComposedDailyQuote{"D", "Four"}));
        QCOMPARE(UserDefaults::string(Key::backgroundImage), "triplets");

        // A stored batch that no longer decodes stays as it is and costs no request.
        const QString broken = QStringLiteral("[{\"a\":\"B\",\"q\":");
        UserDefaults::setValue(Key::quoteSet, broken);
        LogCapture log;
        QCOMPARE(ask(BatchPath), (ComposedDailyQuote{"D", "Four"}));
        QCOMPARE(m_server->requestCount(BatchPath), 2);
        QVERIFY(log.contains("FeedParser:fetch(with:) dataCorrupted("));
        QCOMPARE(UserDefaults::string(Key::quoteSet), broken);
    }

    void failuresReturnTheCachedQuote_data()
    {
        QTest::addColumn<Behaviour>("behaviour");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("logged");
        const QString fetch = QStringLiteral("FeedParser:fetch() ");
        const QString decode = QStringLiteral("FeedParser:fetch(with:) ");
        auto garbage = [](const char *name, const QByteArray &body, const QString &logged) {
            QTest::newRow(name) << Behaviour::answer << 200 << body << logged;
        };
        auto broken = [](const char *name, Behaviour behaviour, const QString &logged) {
            QTest::newRow(name) << behaviour << 200 << QByteArray() << logged;
        };
        QTest::newRow("404") << Behaviour::answer << 404 << TodayBody << fetch + "did not get 200 status";
        garbage("not JSON", "<html>", decode + "dataCorrupted(");
        garbage("not an array", R"({"q":"x"})", decode + "typeMismatch(");
        garbage("no author", R"([{"q":"x"}])", decode + "keyNotFound(");
        garbage("not UTF-8", "[{\"q\":\"\xff\",\"a\":\"y\"}]", fetch + "Can't convert feed to string");
        garbage("empty array", "[]", "");
        broken("hung up", Behaviour::hangUp, fetch + "QNetworkReply::");
        broken("oversized", Behaviour::oversized, fetch + "response too large");
        broken("declared too large", Behaviour::declaredLarge, fetch + "response too large");
        broken("time-out", Behaviour::silent, fetch + "QNetworkReply::TimeoutError");
    }
    void failuresReturnTheCachedQuote()
    {
        QFETCH(Behaviour, behaviour);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, logged);
        m_server->answer(TodayPath, body, status, behaviour);
        UserDefaults::saveQuote(Cached, local(14, 10, 0));
        LogCapture log;
        QCOMPARE(ask(TodayPath, behaviour == Behaviour::silent ? 300ms : 20s), Cached);
        QVERIFY2(log.contains(logged), qPrintable(log.lines().join('\n')));
        QCOMPARE(UserDefaults::date(Key::date), local(14, 10, 0)); // the day stays unserved
        QCOMPARE(m_seenByServer.value(0), "darkZen"); // the client may retry a dropped connection
        QVERIFY2(m_server->streamedBytes() < 16 * 1024 * 1024, "the client read on past its limit");
    }

    // A day whose quote could not be fetched is asked again, at most once an hour; the picture
    // turns with the day's first try only.
    void failedDayIsTriedAgain()
    {
        UserDefaults::saveQuote(Cached, local(14, 10, 0));
        m_server->answer(TodayPath, TodayBody, 404);
        QCOMPARE(ask(TodayPath), Cached); // 10:00, offline
        QCOMPARE(m_server->requestCount(TodayPath), 1);
        struct Try
        {
            QDateTime at;
            bool online;
            int requests; // so far
            ComposedDailyQuote answer;
        };
        const QList<Try> tries{
            {local(15, 10, 30), true, 1, Cached}, // within the hour: no request, not even online
            {local(15, 11, 0), false, 2, Cached}, // the next hourly check tries again
            {local(15, 12, 5), true, 3, Today},   // back online
            {local(15, 13, 5), true, 3, Today},   // the day is served
        };
        for (const Try &next : tries) {
            m_now = next.at;
            m_server->answer(TodayPath, TodayBody, next.online ? 200 : 404);
            QCOMPARE(ask(TodayPath), next.answer);
            QCOMPARE(m_server->requestCount(TodayPath), next.requests);
        }
        QCOMPARE(UserDefaults::date(Key::date), local(15, 13, 5));
        QCOMPARE(m_seenByServer, (QStringList{"darkZen", "darkZen", "darkZen"})); // turned once
    }
};

LUMISERA_TEST_MAIN(TestQuoteSource)
#include "TestQuoteSource.moc"
