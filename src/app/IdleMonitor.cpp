#include "app/IdleMonitor.h"

#include "app/DBusIdleSource.h"
#include "app/WaylandIdleSource.h"
#include "app/XScreenSaverIdleSource.h"
#include "core/Logging.h"

#include <QGuiApplication>

#include <algorithm>

namespace {
// Under XWayland the X server sees only input to X windows: its idle time would be wrong.
bool isWaylandSession()
{
    if (qGuiApp && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return true;
    return qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
} // namespace

IdleMonitor::IdleMonitor(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &IdleMonitor::check);
}

IdleMonitor::~IdleMonitor() = default;

IdleMonitor::Sources IdleMonitor::desktopSources()
{
    Sources sources;
    sources.push_back(std::make_unique<DBusIdleSource>(DBusIdleSource::screenSaver()));
    sources.push_back(std::make_unique<DBusIdleSource>(DBusIdleSource::mutter()));
    if (!isWaylandSession()) {
        if (std::unique_ptr<XScreenSaverIdleSource> x = XScreenSaverIdleSource::open())
            sources.push_back(std::move(x));
    } else if (std::unique_ptr<WaylandIdleSource> wayland = WaylandIdleSource::open()) {
        sources.push_back(std::move(wayland));
    }
    return sources;
}

void IdleMonitor::detect(Sources candidates)
{
    m_candidates = std::move(candidates);
    ++m_generation;
    m_asking = false;
    m_timer.stop();
    m_source = nullptr;
    m_availability = Availability::unknown;
    tryCandidate(0);
}

QString IdleMonitor::sourceName() const
{
    return m_source ? m_source->name() : QString();
}

void IdleMonitor::tryCandidate(std::size_t index)
{
    if (index >= m_candidates.size()) {
        logInfo(QStringLiteral("no idle time from the desktop session; locking when idle is not available"));
        m_availability = Availability::unavailable;
        Q_EMIT availabilityChanged(m_availability);
        return;
    }
    IdleSource *candidate = m_candidates[index].get();
    candidate->ask(this, [this, candidate, index,
                          generation = m_generation](std::optional<std::chrono::milliseconds> idle) {
        if (generation != m_generation)
            return;
        if (!idle) {
            tryCandidate(index + 1);
            return;
        }
        logInfo(QStringLiteral("idle time from ") + candidate->name());
        m_source = candidate;
        m_availability = Availability::available;
        Q_EMIT availabilityChanged(m_availability);
        updateWatch();
        reschedule();
    });
}

void IdleMonitor::setLimit(std::chrono::minutes limit)
{
    m_limit = limit;
    updateWatch();
    reschedule();
}

void IdleMonitor::setWatching(bool watching)
{
    m_watching = watching;
    updateWatch();
    reschedule();
}

void IdleMonitor::setPollInterval(std::chrono::milliseconds interval)
{
    m_pollInterval = interval;
    reschedule();
}

bool IdleMonitor::isRunning() const
{
    return m_source && m_watching && m_limit.count() > 0;
}

void IdleMonitor::reschedule()
{
    if (!isRunning()) {
        m_timer.stop();
        return;
    }
    if (!m_timer.isActive() && !m_asking)
        m_timer.start(m_pollInterval);
}

void IdleMonitor::updateWatch()
{
    if (m_source)
        m_source->watch(isRunning() ? std::chrono::milliseconds(m_limit) : std::chrono::milliseconds(0),
                        [this] { check(); });
}

void IdleMonitor::check()
{
    if (!isRunning() || m_asking)
        return;
    m_asking = true;
    m_source->ask(this, [this, generation = m_generation](std::optional<std::chrono::milliseconds> idle) {
        if (generation == m_generation)
            answered(idle);
    });
}

void IdleMonitor::answered(std::optional<std::chrono::milliseconds> idle)
{
    m_asking = false;
    if (!isRunning())
        return;
    if (!idle) {
        reschedule();
        return;
    }
    const std::chrono::milliseconds limit = m_limit;
    if (*idle >= limit) {
        Q_EMIT idleLimitReached();
        return;
    }
    // Asked again when the limit would be reached, or sooner: input may come before.
    m_timer.start(std::min(m_pollInterval, limit - *idle));
}
