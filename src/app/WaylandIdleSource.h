#pragma once

#include "app/IdleSource.h"

#include <QSocketNotifier>

#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;

// The compositor's ext-idle-notify protocol, over a Wayland connection of its own. The compositor
// does not answer how long the session has been idle; it tells when it has been idle for the limit
// and when input came back, so the idle time is known only from the limit on.
class WaylandIdleSource : public IdleSource
{
public:
    // Nothing without a compositor that offers idle notifications and a seat.
    static std::unique_ptr<WaylandIdleSource> open();
    ~WaylandIdleSource() override;
    WaylandIdleSource(const WaylandIdleSource &) = delete;
    WaylandIdleSource &operator=(const WaylandIdleSource &) = delete;

    QString name() const override;
    // Below the limit, or without one, the idle time is given as zero.
    void ask(QObject *context, Answer answer) override;
    void watch(std::chrono::milliseconds limit, std::function<void()> changed) override;

    // Registry and notification callbacks.
    void announced(wl_registry *registry, uint32_t id, const char *interface, uint32_t version);
    void idled();
    void resumed();

private:
    explicit WaylandIdleSource(wl_display *display);
    bool bind();
    void dispatch();
    void dropNotification();
    void fail();

    wl_display *m_display;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    ext_idle_notifier_v1 *m_notifier = nullptr;
    ext_idle_notification_v1 *m_notification = nullptr;
    std::unique_ptr<QSocketNotifier> m_readable;
    bool m_failed = false;
    std::chrono::milliseconds m_limit{0};
    std::function<void()> m_changed;
    // When the compositor said the limit had passed; empty while there is input.
    std::optional<std::chrono::steady_clock::time_point> m_idledAt;
    bool m_news = false;
};
