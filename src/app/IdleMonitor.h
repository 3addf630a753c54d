#pragma once

#include "app/IdleSource.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <vector>

// How long the desktop session has gone without input, and a signal when that passes the limit.
// The first of the candidate sources that answers is used; without one the idle lock is not
// available. The source is asked only while watching with a limit, every few seconds at most.
class IdleMonitor : public QObject
{
    Q_OBJECT
public:
    enum class Availability { unknown, available, unavailable };
    Q_ENUM(Availability)

    using Sources = std::vector<std::unique_ptr<IdleSource>>;

    explicit IdleMonitor(QObject *parent = nullptr);
    ~IdleMonitor() override;

    // The session's own sources: the screen saver's and Mutter's idle time on the session bus, then
    // the X screen-saver extension outside a Wayland session, or the compositor's idle notification
    // in one.
    static Sources desktopSources();
    // Tries sources in order, once; tests give their own.
    void detect(Sources candidates);
    Availability availability() const { return m_availability; }
    QString sourceName() const;

    // Zero: never.
    void setLimit(std::chrono::minutes limit);
    std::chrono::minutes limit() const { return m_limit; }
    // While the vault is unlocked.
    void setWatching(bool watching);
    // The longest wait between two questions.
    void setPollInterval(std::chrono::milliseconds interval);

public Q_SLOTS:
    // Asks the source now.
    void check();

Q_SIGNALS:
    void availabilityChanged(IdleMonitor::Availability availability);
    void idleLimitReached();

private:
    void tryCandidate(std::size_t index);
    void answered(std::optional<std::chrono::milliseconds> idle);
    void reschedule();
    void updateWatch();
    bool isRunning() const;

    Sources m_candidates;
    IdleSource *m_source = nullptr;
    Availability m_availability = Availability::unknown;
    std::chrono::minutes m_limit{0};
    bool m_watching = false;
    bool m_asking = false;
    // Answers to an earlier detect() or to a question before the limit changed count for nothing.
    int m_generation = 0;
    std::chrono::milliseconds m_pollInterval{15000};
    QTimer m_timer;
};
