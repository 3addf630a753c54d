#include "LogCapture.h"
#include "QuoteRefresher.h"
#include "QuoteServer.h"
#include "QuoteSource.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "WidgetTimelines.h"

#include <QGuiApplication>
#include <QNetworkProxy>
#include <QPointer>
#include <QTest>
#include <QTimer>

class TestQuoteRefresher : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void timerAsksForTheQuoteOfTheDayHourly();
    void destructionStopsTheTimer();
    void reloadWidgetTimelinesLogsTheKind();
};

void TestQuoteRefresher::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestQuoteRefresher::timerAsksForTheQuoteOfTheDayHourly()
{
    QuoteServer server;
    server.answer(QStringLiteral("/api/today"), 200, R"([{"q":"Hourly.","a":"Clock"}])");
    QuoteSource source(server.address());
    QDateTime now(QDate(2026, 2, 3), QTime(9, 0));
    source.setClock([&] { return now; });
    QuoteRefresher refresher(&source);
    QVERIFY(!refresher.refreshTimer());

    refresher.startRefreshTimer();
    QTimer *timer = refresher.refreshTimer();
    QVERIFY(timer && timer->isActive() && !timer->isSingleShot());
    QCOMPARE(timer->intervalAsDuration(), std::chrono::hours(1));

    // One tick now instead of in an hour.
    timer->setSingleShot(true);
    timer->start(0);
    QTRY_COMPARE(UserDefaults::quote(), (ComposedDailyQuote{"Clock", "Hourly."}));
    QCOMPARE(server.requestCount(), 1);

    // Later the same day: no request, yet the day is marked as served at the tick's time.
    now = now.addSecs(3600);
    refresher.fireTimer();
    QCOMPARE(UserDefaults::date(UserDefaults::Key::date), now);
    QCOMPARE(server.requestCount(), 1);
}

void TestQuoteRefresher::destructionStopsTheTimer()
{
    QuoteSource source(QStringLiteral("http://127.0.0.1:9"));
    QPointer<QTimer> timer;
    LogCapture log;
    {
        QuoteRefresher refresher(&source);
        refresher.startRefreshTimer();
        timer = refresher.refreshTimer();
    }
    QVERIFY(timer.isNull());
    QVERIFY(log.contains("Refresher deinit"));
    QCOMPARE(&QuoteRefresher::shared(), &QuoteRefresher::shared());
    QVERIFY(!QuoteRefresher::shared().refreshTimer());
}

void TestQuoteRefresher::reloadWidgetTimelinesLogsTheKind()
{
    LogCapture log;
    reloadWidgetTimelines();
    QVERIFY(log.contains("Morvenda_Daily_Lumisera"));
}

LUMISERA_TEST_MAIN(TestQuoteRefresher)
#include "TestQuoteRefresher.moc"
