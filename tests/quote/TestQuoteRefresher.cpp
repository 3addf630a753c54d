#include "LogCapture.h"
#include "QuoteServer.h"
#include "TestHome.h"
#include "core/UserDefaults.h"
#include "quote/QuoteRefresher.h"
#include "quote/QuoteSource.h"

#include <QGuiApplication>
#include <QNetworkProxy>
#include <QPointer>
#include <QTest>
#include <QTimer>

class TestQuoteRefresher : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void hourlyTimerAsksForTheQuoteOfTheDay()
    {
        QuoteServer server;
        server.answer(QStringLiteral("/api/today"), R"([{"q":"Hourly.","a":"Clock"}])");
        QuoteSource source(server.address());
        QDateTime now(QDate(2026, 2, 3), QTime(9, 0));
        source.setClock([&] { return now; });
        QPointer<QTimer> timer;
        LogCapture log;
        {
            QuoteRefresher refresher(&source);
            QVERIFY(!refresher.refreshTimer());
            refresher.startRefreshTimer();
            timer = refresher.refreshTimer();
            QVERIFY(timer && timer->isActive() && !timer->isSingleShot());
            QCOMPARE(timer->intervalAsDuration(), std::chrono::hours(1));

            timer->setSingleShot(true); // one tick now instead of in an hour
            timer->start(0);
            QTRY_COMPARE(UserDefaults::quote(), (ComposedDailyQuote{"Clock", "Hourly."}));

            // Later the same day: no request, yet the day is marked as served at the tick's time.
            now = now.addSecs(3600);
            refresher.fireTimer();
            QCOMPARE(UserDefaults::date(UserDefaults::Key::date), now);
            QCOMPARE(server.requestCount(), 1);
        }
        QVERIFY(timer.isNull());
        QVERIFY(log.contains("Refresher deinit"));
    }
};

LUMISERA_TEST_MAIN(TestQuoteRefresher)
#include "TestQuoteRefresher.moc"
