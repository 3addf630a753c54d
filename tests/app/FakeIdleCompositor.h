#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

struct wl_display;
struct wl_event_source;
struct wl_resource;

// A Wayland compositor that offers only a seat and idle notifications, on a socket of its own in
// XDG_RUNTIME_DIR, served from a thread of its own (the client's first round trip blocks).
class FakeIdleCompositor
{
public:
    FakeIdleCompositor(bool offersSeat, bool offersIdleNotifier);
    ~FakeIdleCompositor();
    FakeIdleCompositor(const FakeIdleCompositor &) = delete;
    FakeIdleCompositor &operator=(const FakeIdleCompositor &) = delete;

    // For WAYLAND_DISPLAY; empty when the socket could not be made.
    QString socketName() const { return m_socketName; }
    // Each get_idle_notification's timeout, in order.
    QList<uint> requestedTimeouts() const;
    // Notifications the client has not destroyed.
    int liveNotifications() const;
    // To the newest live notification, all in one message: 'i' idled, 'r' resumed.
    void send(const QByteArray &events);
    // Closes every connection, as a compositor that quits does.
    void stop();

    // Protocol callbacks, on the compositor's thread.
    void notificationRequested(wl_resource *notification, uint32_t timeout);
    void notificationDestroyed(wl_resource *notification);
    void commanded(char what);

private:
    wl_display *m_display = nullptr;
    QString m_socketName;
    int m_commands[2] = {-1, -1};
    wl_event_source *m_commandSource = nullptr;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    QList<uint> m_timeouts;
    std::vector<wl_resource *> m_live;
};
