#include "quote/QuoteRefresher.h"

#include "core/Logging.h"
#include "quote/QuoteSource.h"

#include <QTimer>

QuoteRefresher &QuoteRefresher::shared()
{
    // Kept for the life of the process, like the source it asks.
    static QuoteRefresher *const instance = new QuoteRefresher(new QuoteSource());
    return *instance;
}

QuoteRefresher::QuoteRefresher(QuoteSource *source, QObject *parent) : QObject(parent), m_source(source) {}

QuoteRefresher::~QuoteRefresher()
{
    logInfo(QStringLiteral("Refresher deinit"));
    if (m_refreshTimer) {
        m_refreshTimer->stop();
        delete m_refreshTimer;
        m_refreshTimer = nullptr;
    }
}

void QuoteRefresher::startRefreshTimer()
{
    if (m_refreshTimer)
        m_refreshTimer->stop();
    else
        m_refreshTimer = new QTimer(this);
    connect(m_refreshTimer, &QTimer::timeout, this, &QuoteRefresher::fireTimer, Qt::UniqueConnection);
    m_refreshTimer->setSingleShot(false);
    m_refreshTimer->start(m_interval);
}

void QuoteRefresher::fireTimer()
{
    m_source->quote(m_source->todayUrl());
}
