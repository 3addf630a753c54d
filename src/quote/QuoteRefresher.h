#pragma once

#include <QObject>
#include <chrono>

class QTimer;
class QuoteSource;

// Keeps the quote of the day current while the application runs: one request an hour, which
// costs no network access while the cached quote is from today.
class QuoteRefresher : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::seconds DefaultInterval{3600};

    // The process-wide refresher, asking the default quote service; made on first use.
    static QuoteRefresher &shared();

    // The source is borrowed and must outlive the refresher.
    explicit QuoteRefresher(QuoteSource *source, QObject *parent = nullptr);
    ~QuoteRefresher() override;

    // Absent until the application starts the timer.
    QTimer *refreshTimer() const { return m_refreshTimer; }
    std::chrono::seconds interval() const { return m_interval; }

    // Called once at start-up, on the main thread: the first tick comes one interval later.
    void startRefreshTimer();

public Q_SLOTS:
    // Asks for the quote of the day and lets it arrive on its own; a slow answer may overlap
    // the next tick.
    void fireTimer();

private:
    QTimer *m_refreshTimer = nullptr;
    std::chrono::seconds m_interval = DefaultInterval;
    QuoteSource *m_source;
};
