#include "app/WaylandIdleSource.h"

#include "core/Logging.h"

#include "ext-idle-notify-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstdint>

#include <poll.h>

namespace {
WaylandIdleSource *sourceOf(void *data)
{
    return static_cast<WaylandIdleSource *>(data);
}

void onGlobal(void *data, wl_registry *registry, uint32_t id, const char *interface, uint32_t version)
{
    sourceOf(data)->announced(registry, id, interface, version);
}

void onGlobalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

void onIdled(void *data, ext_idle_notification_v1 *)
{
    sourceOf(data)->idled();
}

void onResumed(void *data, ext_idle_notification_v1 *)
{
    sourceOf(data)->resumed();
}

const ext_idle_notification_v1_listener notificationListener = {onIdled, onResumed};
} // namespace

std::unique_ptr<WaylandIdleSource> WaylandIdleSource::open()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandIdleSource> source(new WaylandIdleSource(display));
    if (!source->bind())
        return nullptr;
    return source;
}

WaylandIdleSource::WaylandIdleSource(wl_display *display) : m_display(display) {}

WaylandIdleSource::~WaylandIdleSource()
{
    m_readable.reset();
    dropNotification();
    if (m_notifier)
        ext_idle_notifier_v1_destroy(m_notifier);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

bool WaylandIdleSource::bind()
{
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener, this);
    if (wl_display_roundtrip(m_display) < 0 || !m_seat || !m_notifier)
        return false;
    m_readable = std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display), QSocketNotifier::Read);
    QObject::connect(m_readable.get(), &QSocketNotifier::activated, m_readable.get(), [this] { dispatch(); });
    return true;
}

void WaylandIdleSource::announced(wl_registry *registry, uint32_t id, const char *interface, uint32_t)
{
    const QLatin1String name(interface);
    if (name == QLatin1String(wl_seat_interface.name) && !m_seat) {
        m_seat = static_cast<wl_seat *>(wl_registry_bind(registry, id, &wl_seat_interface, 1));
    } else if (name == QLatin1String(ext_idle_notifier_v1_interface.name) && !m_notifier) {
        m_notifier = static_cast<ext_idle_notifier_v1 *>(
            wl_registry_bind(registry, id, &ext_idle_notifier_v1_interface, 1));
    }
}

QString WaylandIdleSource::name() const
{
    return QStringLiteral("ext-idle-notify-v1");
}

void WaylandIdleSource::ask(QObject *, Answer answer)
{
    // A compositor that has gone leaves the socket readable; see to that before answering.
    pollfd readable{wl_display_get_fd(m_display), POLLIN, 0};
    if (!m_failed && ::poll(&readable, 1, 0) > 0)
        dispatch();
    if (m_failed) {
        answer(std::nullopt);
        return;
    }
    if (!m_idledAt) {
        answer(std::chrono::milliseconds(0));
        return;
    }
    const auto since = std::chrono::steady_clock::now() - *m_idledAt;
    answer(m_limit + std::chrono::duration_cast<std::chrono::milliseconds>(since));
}

void WaylandIdleSource::watch(std::chrono::milliseconds limit, std::function<void()> changed)
{
    m_changed = std::move(changed);
    if (m_failed || (limit == m_limit && (m_notification || limit.count() == 0)))
        return;
    dropNotification();
    m_limit = limit;
    if (limit.count() <= 0)
        return;
    m_notification = ext_idle_notifier_v1_get_idle_notification(
        m_notifier, uint32_t(std::min<qint64>(limit.count(), UINT32_MAX)), m_seat);
    ext_idle_notification_v1_add_listener(m_notification, &notificationListener, this);
    if (wl_display_flush(m_display) < 0)
        fail();
}

void WaylandIdleSource::dropNotification()
{
    if (m_notification) {
        ext_idle_notification_v1_destroy(m_notification);
        m_notification = nullptr;
        if (!m_failed)
            wl_display_flush(m_display);
    }
    m_idledAt.reset();
    m_limit = std::chrono::milliseconds(0);
}

void WaylandIdleSource::idled()
{
    m_idledAt = std::chrono::steady_clock::now();
    m_news = true;
}

void WaylandIdleSource::resumed()
{
    m_idledAt.reset();
    m_news = true;
}

void WaylandIdleSource::dispatch()
{
    if (m_failed)
        return;
    m_news = false;
    if (wl_display_dispatch(m_display) < 0) {
        fail();
        return;
    }
    wl_display_flush(m_display);
    // Only what holds after everything that came together counts: idled and resumed at once is
    // input.
    if (m_news && m_changed) {
        m_news = false;
        // What it runs may watch anew and replace it.
        const std::function<void()> changed = m_changed;
        changed();
    }
}

void WaylandIdleSource::fail()
{
    logInfo(QStringLiteral("the Wayland compositor's idle notification is gone"));
    m_failed = true;
    m_idledAt.reset();
    if (m_readable)
        m_readable->setEnabled(false);
}
