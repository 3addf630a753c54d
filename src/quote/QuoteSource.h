#pragma once

#include "core/ComposedDailyQuote.h"
#include "quote/FeedParser.h"

#include <QDateTime>
#include <QFuture>
#include <QLatin1String>
#include <QObject>
#include <QString>
#include <functional>

// The quote update: the quote of the day at most once per calendar day, a quote of the batch at
// every request, and always a quote, the cached one when nothing new can be had.
class QuoteSource : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    static constexpr QLatin1String DefaultServiceAddress{"https://zenquotes.io"};

    explicit QuoteSource(const QString &serviceAddress = DefaultServiceAddress,
                         std::chrono::milliseconds transferTimeout = FeedParser::DefaultTransferTimeout,
                         QObject *parent = nullptr);

    QString serviceAddress() const { return m_serviceAddress; }
    // The quote of the day, asked by the hourly refresher.
    QString todayUrl() const;
    // A batch of quotes, asked when the user taps the quote.
    QString batchUrl() const;

    // Where "now" comes from; the system clock unless a test says otherwise.
    void setClock(Clock clock);

    // Never fails: the quote fetched, or the cached one. Only a quote of the day that came from
    // the service (or one already cached today) records the day; a failed one is asked again at
    // the next hourly check or start, at most once an hour.
    QFuture<ComposedDailyQuote> quote(const QString &urlText);

    // The least time between two attempts at a quote of the day that failed.
    static constexpr int retrySeconds = 3600;

private:
    static ComposedDailyQuote cachedQuote(const QDateTime &now);
    // Whether a quote of the day was asked of the service less than retrySeconds before now.
    static bool triedRecently(const QDateTime &now);

    QString m_serviceAddress;
    Clock m_clock;
    FeedParser *m_parser;
};
