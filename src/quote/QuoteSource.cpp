#include "quote/QuoteSource.h"

#include "core/Logging.h"
#include "core/UserDefaults.h"
#include "quote/FeedParser.h"

#include <QUrl>

using Key = UserDefaults::Key;

namespace {
QString withoutTrailingSlashes(QString address)
{
    while (address.endsWith(u'/'))
        address.chop(1);
    return address;
}

// Days begin at local midnight, as the user sees them.
bool sameCalendarDay(const QDateTime &a, const QDateTime &b)
{
    return a.toLocalTime().date() == b.toLocalTime().date();
}

void advanceBackground()
{
    UserDefaults::setValue(Key::backgroundImage, UserDefaults::nextBackgroundImage().image);
}
} // namespace

QuoteSource::QuoteSource(const QString &serviceAddress, std::chrono::milliseconds transferTimeout,
                         QObject *parent)
    : QObject(parent), m_serviceAddress(withoutTrailingSlashes(serviceAddress.trimmed())),
      m_clock([] { return QDateTime::currentDateTime(); }),
      m_parser(new FeedParser(batchUrl(), transferTimeout, this))
{}

QString QuoteSource::todayUrl() const
{
    return m_serviceAddress + QStringLiteral("/api/today");
}

QString QuoteSource::batchUrl() const
{
    return m_serviceAddress + QStringLiteral("/api/quotes");
}

void QuoteSource::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

QFuture<ComposedDailyQuote> QuoteSource::quote(const QString &urlText)
{
    const QDateTime now = m_clock();
    const bool ofTheDay = urlText == todayUrl();
    if (ofTheDay && sameCalendarDay(now, UserDefaults::date(Key::date)))
        return QtFuture::makeReadyFuture(cachedQuote(now));
    if (ofTheDay && triedRecently(now))
        return QtFuture::makeReadyFuture(UserDefaults::quote());

    // The picture turns with the day's first try, not with every retry of an offline day.
    const std::optional<QDateTime> lastTry = UserDefaults::quoteAttempt();
    const bool firstTryToday = !ofTheDay || !lastTry || !sameCalendarDay(now, *lastTry);
    if (ofTheDay)
        UserDefaults::setQuoteAttempt(now);
    if (firstTryToday && UserDefaults::boolean(Key::rotateImage))
        advanceBackground();
    logInfo(QStringLiteral("fetch required"));
    const QUrl url(urlText, QUrl::StrictMode);
    if (urlText.isEmpty() || !url.isValid())
        return QtFuture::makeReadyFuture(UserDefaults::quote());

    return m_parser->fetch(url).then(this, [now](const std::optional<ComposedDailyQuote> &fetched) {
        // A failure leaves the day unrecorded, so that the quote of the day is asked again.
        if (!fetched)
            return UserDefaults::quote();
        UserDefaults::saveQuote(fetched, now);
        return *fetched;
    });
}

bool QuoteSource::triedRecently(const QDateTime &now)
{
    const std::optional<QDateTime> lastTry = UserDefaults::quoteAttempt();
    // A try "in the future" (the clock was set back) does not hold the next one up.
    return lastTry && *lastTry <= now && lastTry->secsTo(now) < retrySeconds;
}

// The quote already shown, saved again so that the update date says the day was served.
ComposedDailyQuote QuoteSource::cachedQuote(const QDateTime &now)
{
    const ComposedDailyQuote cached = UserDefaults::quote();
    UserDefaults::saveQuote(cached, now);
    return cached;
}
