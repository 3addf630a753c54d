#include "FakeIdleCompositor.h"

#include "ext-idle-notify-v1-server-protocol.h"

#include <wayland-server.h>

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace {
FakeIdleCompositor *compositorOf(wl_resource *resource)
{
    return static_cast<FakeIdleCompositor *>(wl_resource_get_user_data(resource));
}

void destroyResource(wl_client *, wl_resource *resource)
{
    wl_resource_destroy(resource);
}

// "struct": the wl_interface variables share these names.
const struct ext_idle_notification_v1_interface notificationImplementation = {destroyResource};

void notificationGone(wl_resource *resource)
{
    compositorOf(resource)->notificationDestroyed(resource);
}

void getIdleNotification(wl_client *client, wl_resource *notifier, uint32_t id, uint32_t timeout,
                         wl_resource *)
{
    wl_resource *notification = wl_resource_create(client, &ext_idle_notification_v1_interface, 1, id);
    wl_resource_set_implementation(notification, &notificationImplementation,
                                   wl_resource_get_user_data(notifier), notificationGone);
    compositorOf(notifier)->notificationRequested(notification, timeout);
}

const struct ext_idle_notifier_v1_interface notifierImplementation = {destroyResource, getIdleNotification};

void bindNotifier(wl_client *client, void *data, uint32_t version, uint32_t id)
{
    wl_resource *notifier = wl_resource_create(client, &ext_idle_notifier_v1_interface, int(version), id);
    wl_resource_set_implementation(notifier, &notifierImplementation, data, nullptr);
}

// The client never sends a seat request; a seat with no implementation is enough to be named.
void bindSeat(wl_client *client, void *, uint32_t version, uint32_t id)
{
    wl_resource_create(client, &wl_seat_interface, int(version), id);
}

// Everything written at once is sent in one flush, so the client reads it together.
int onCommand(int fd, uint32_t, void *data)
{
    char what[16];
    const ssize_t got = ::read(fd, what, sizeof what);
    for (ssize_t i = 0; i < got; ++i)
        static_cast<FakeIdleCompositor *>(data)->commanded(what[i]);
    return 0;
}
} // namespace

FakeIdleCompositor::FakeIdleCompositor(bool offersSeat, bool offersIdleNotifier)
{
    m_display = wl_display_create();
    if (offersSeat)
        wl_global_create(m_display, &wl_seat_interface, 1, this, bindSeat);
    if (offersIdleNotifier)
        wl_global_create(m_display, &ext_idle_notifier_v1_interface, 1, this, bindNotifier);
    if (::pipe2(m_commands, O_CLOEXEC) != 0)
        return;
    m_commandSource = wl_event_loop_add_fd(wl_display_get_event_loop(m_display), m_commands[0],
                                           WL_EVENT_READABLE, onCommand, this);
    const char *name = wl_display_add_socket_auto(m_display);
    if (!name)
        return;
    m_socketName = QFile::decodeName(name);
    m_thread = std::thread([display = m_display] { wl_display_run(display); });
}

FakeIdleCompositor::~FakeIdleCompositor()
{
    stop();
    for (int fd : m_commands) {
        if (fd >= 0)
            ::close(fd);
    }
}

void FakeIdleCompositor::stop()
{
    if (m_thread.joinable()) {
        send("q");
        m_thread.join();
    }
    if (m_commandSource) {
        wl_event_source_remove(m_commandSource);
        m_commandSource = nullptr;
    }
    if (m_display) {
        wl_display_destroy_clients(m_display);
        wl_display_destroy(m_display);
        m_display = nullptr;
    }
}

void FakeIdleCompositor::send(const QByteArray &events)
{
    if (::write(m_commands[1], events.constData(), size_t(events.size())) != events.size())
        qWarning("the fake compositor did not take a command");
}

void FakeIdleCompositor::commanded(char what)
{
    if (what == 'q') {
        wl_display_terminate(m_display);
        return;
    }
    std::lock_guard lock(m_mutex);
    if (m_live.empty())
        return;
    if (what == 'i')
        ext_idle_notification_v1_send_idled(m_live.back());
    else
        ext_idle_notification_v1_send_resumed(m_live.back());
}

QList<uint> FakeIdleCompositor::requestedTimeouts() const
{
    std::lock_guard lock(m_mutex);
    return m_timeouts;
}

int FakeIdleCompositor::liveNotifications() const
{
    std::lock_guard lock(m_mutex);
    return int(m_live.size());
}

void FakeIdleCompositor::notificationRequested(wl_resource *notification, uint32_t timeout)
{
    std::lock_guard lock(m_mutex);
    m_timeouts.push_back(timeout);
    m_live.push_back(notification);
}

void FakeIdleCompositor::notificationDestroyed(wl_resource *notification)
{
    std::lock_guard lock(m_mutex);
    m_live.erase(std::remove(m_live.begin(), m_live.end(), notification), m_live.end());
}
