#include "drive/FolderWatcher.h"

#include "core/Logging.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr uint32_t WatchedEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE |
                                   IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

// One line per process and kind of failure: a drive without change reports still works.
void logOnce(std::atomic<bool> &logged, const QString &reason)
{
    if (!logged.exchange(true))
        logError(QStringLiteral("Folder watching is not available (%1); changes made by other programs "
                                "show when a folder is opened again")
                     .arg(reason),
                 QStringLiteral(__FILE__), QStringLiteral("FolderWatcher"));
}

std::atomic<bool> instanceFailureLogged{false};
std::atomic<bool> watchFailureLogged{false};
} // namespace

// Keeps the watcher's thread running while any monitor holds the watcher.
struct FolderWatcher::Owner
{
    std::shared_ptr<FolderWatcher> watcher;
    std::thread thread;

    ~Owner()
    {
        watcher->m_stopped.store(true);
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(watcher->m_stopSignal.get(), &one, sizeof one);
        if (thread.get_id() == std::this_thread::get_id())
            thread.detach(); // the last monitor left from inside its own report: the thread ends after it
        else
            thread.join();
    }
};

std::shared_ptr<FolderWatcher> FolderWatcher::shared()
{
    static std::mutex mutex;
    static std::weak_ptr<FolderWatcher> current;
    std::lock_guard guard(mutex);
    if (std::shared_ptr<FolderWatcher> existing = current.lock())
        return existing;

    std::shared_ptr<FolderWatcher> watcher(new FolderWatcher);
    watcher->m_inotify = UniqueFd(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
    if (!watcher->m_inotify.isValid()) {
        logOnce(instanceFailureLogged, QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    watcher->m_stopSignal = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!watcher->m_stopSignal.isValid()) {
        logOnce(instanceFailureLogged, QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    auto owner = std::make_shared<Owner>();
    owner->watcher = watcher;
    std::lock_guard starting(watcher->m_mutex); // the thread's id is known before it reads
    owner->thread = std::thread([watcher] { watcher->run(); });
    watcher->m_threadId = owner->thread.get_id();
    // Monitors share the owner's count; the thread holds the watcher alone, so it cannot keep
    // itself alive.
    std::shared_ptr<FolderWatcher> handle(owner, watcher.get());
    current = handle;
    return handle;
}

std::unique_lock<std::recursive_mutex> FolderWatcher::lock()
{
    return std::unique_lock(m_mutex);
}

FolderWatcher::WatchResult FolderWatcher::addWatch(Client &client, const QString &folder, bool followLinks,
                                                   int *watch)
{
    const uint32_t flags = IN_ONLYDIR | (followLinks ? 0u : uint32_t(IN_DONT_FOLLOW));
    const int added =
        ::inotify_add_watch(m_inotify.get(), QFile::encodeName(folder).constData(), WatchedEvents | flags);
    if (added < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == EACCES || errno == ELOOP)
            return WatchResult::folderMissing;
        logOnce(watchFailureLogged, errno == ENOSPC ? QStringLiteral("no inotify watch left")
                                                    : QString::fromLocal8Bit(std::strerror(errno)));
        return WatchResult::unavailable;
    }
    if (!m_clients.contains(&client))
        m_clients.append(&client);
    QList<Client *> &holders = m_watches[added];
    if (!holders.contains(&client))
        holders.append(&client);
    *watch = added;
    return WatchResult::watching;
}

void FolderWatcher::removeWatch(Client &client, int watch)
{
    const auto found = m_watches.find(watch);
    if (found == m_watches.end())
        return;
    found->removeAll(&client);
    if (found->isEmpty()) {
        ::inotify_rm_watch(m_inotify.get(), watch);
        m_watches.erase(found);
    }
}

void FolderWatcher::removeClient(Client &client)
{
    std::lock_guard guard(m_mutex);
    for (auto it = m_watches.begin(); it != m_watches.end();) {
        it->removeAll(&client);
        if (it->isEmpty()) {
            ::inotify_rm_watch(m_inotify.get(), it.key());
            it = m_watches.erase(it);
        } else {
            ++it;
        }
    }
    m_clients.removeAll(&client);
}

bool FolderWatcher::isWatcherThread() const
{
    return std::this_thread::get_id() == m_threadId;
}

int FolderWatcher::watchCount()
{
    std::lock_guard guard(m_mutex);
    return int(m_watches.size());
}

void FolderWatcher::dispatch(const inotify_event &event)
{
    if (event.mask & IN_Q_OVERFLOW) {
        for (Client *client : std::as_const(m_clients))
            client->handleLostEvents();
        return;
    }
    // A client may drop the watch, or others, while it handles the event.
    const QList<Client *> holders = m_watches.value(event.wd);
    for (Client *client : holders) {
        if (m_clients.contains(client))
            client->handleEvent(*this, event);
    }
    if (event.mask & IN_IGNORED)
        m_watches.remove(event.wd); // the kernel has dropped it already
}

void FolderWatcher::readEvents()
{
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t length = ::read(m_inotify.get(), buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            return;
        std::vector<std::pair<std::shared_ptr<Client>, QStringList>> reports;
        {
            std::lock_guard guard(m_mutex);
            for (ssize_t offset = 0; offset < length;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
                dispatch(*event);
                offset += ssize_t(sizeof(inotify_event) + event->len);
            }
            for (Client *client : std::as_const(m_clients)) {
                QStringList paths = client->takeReports();
                if (!paths.isEmpty())
                    reports.emplace_back(client->shared_from_this(), std::move(paths));
            }
        }
        for (const auto &[client, paths] : reports) {
            if (m_stopped.load())
                return;
            client->deliver(paths);
        }
    }
}

void FolderWatcher::run()
{
    {
        std::lock_guard started(m_mutex); // until shared() has noted the thread's id
    }
    pollfd fds[2] = {{m_inotify.get(), POLLIN, 0}, {m_stopSignal.get(), POLLIN, 0}};
    while (!m_stopped.load()) {
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (fds[1].revents & POLLIN))
            return;
        if (fds[0].revents & POLLIN)
            readEvents();
    }
}
