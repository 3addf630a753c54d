#include "FileMonitor.h"

#include "FileSystemError.h"
#include "UniqueFd.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {
constexpr uint32_t ReportedEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ATTRIB;
constexpr uint32_t RootGoneEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;

// Symbolic links resolved for the part of the path that exists, then "." and ".." removed.
QString resolvedPath(const QString &path)
{
    QString existing = QDir::cleanPath(path);
    QString rest;
    while (!existing.isEmpty()) {
        char resolved[PATH_MAX];
        if (::realpath(QFile::encodeName(existing).constData(), resolved)) {
            const QString head = QFile::decodeName(resolved);
            return QDir::cleanPath(rest.isEmpty() ? head : head + u'/' + rest);
        }
        const qsizetype slash = existing.lastIndexOf(u'/');
        if (slash < 0)
            break;
        const QString last = existing.mid(slash + 1);
        rest = rest.isEmpty() ? last : last + u'/' + rest;
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
        if (slash == 0 && last.isEmpty())
            break;
    }
    return QDir::cleanPath(path);
}

RootRelativePath relativePathBelow(const QString &rootDirectory, const QString &path)
{
    const QString root = resolvedPath(rootDirectory);
    QString item = resolvedPath(path);
    item.remove(0, root.size());
    if (item.startsWith(u'/'))
        item.remove(0, 1);
    return RootRelativePath(item);
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}
} // namespace

// What the monitor's thread owns; it lives as long as the thread, even when the monitor
// is destroyed from inside its own change handler.
struct FileMonitor::Watcher
{
    QString root;
    std::function<void(const QString &)> report;
    UniqueFd inotify;
    UniqueFd stopSignal;
    std::atomic<bool> stopped{false};
    QHash<int, QString> folders; // watch descriptor -> watched folder path
    int rootWatch = -1;

    void watchTree(const QString &folder, bool isRoot);
    void unwatchTree(const QString &folder);
    void handle(const inotify_event &event);
    void drain();
    void run();
};

void FileMonitor::Watcher::watchTree(const QString &folder, bool isRoot)
{
    // The root may be a link to the real folder; the folders below are watched as they are.
    const uint32_t mask = ReportedEvents | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR |
                          (isRoot ? 0u : uint32_t(IN_DONT_FOLLOW));
    const int watch = ::inotify_add_watch(inotify.get(), QFile::encodeName(folder).constData(), mask);
    if (watch < 0)
        return;
    folders.insert(watch, folder);
    if (isRoot)
        rootWatch = watch;
    const QStringList subfolders = QDir(folder).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot |
                                                          QDir::NoSymLinks | QDir::System);
    for (const QString &name : subfolders)
        watchTree(folder + u'/' + name, false);
}

void FileMonitor::Watcher::unwatchTree(const QString &folder)
{
    const QString below = folder + u'/';
    for (auto it = folders.begin(); it != folders.end();) {
        if (it.key() != rootWatch && (it.value() == folder || it.value().startsWith(below))) {
            ::inotify_rm_watch(inotify.get(), it.key());
            it = folders.erase(it);
        } else {
            ++it;
        }
    }
}

void FileMonitor::Watcher::handle(const inotify_event &event)
{
    if (event.mask & IN_Q_OVERFLOW) {
        // Reports were lost: ask for a fresh look at everything.
        report(root);
        return;
    }
    const auto found = folders.constFind(event.wd);
    if (found == folders.constEnd())
        return;
    const QString folder = found.value();
    if (event.wd == rootWatch && (event.mask & RootGoneEvents)) {
        for (auto it = folders.cbegin(); it != folders.cend(); ++it)
            ::inotify_rm_watch(inotify.get(), it.key());
        folders.clear();
        rootWatch = -1;
        report(root);
        return;
    }
    if (event.mask & IN_IGNORED) {
        folders.remove(event.wd);
        return;
    }
    // A folder below the root that goes away is reported by its parent's watch.
    if (event.len == 0 || (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF)))
        return;
    const QString path = folder + u'/' + QFile::decodeName(event.name);
    if (event.mask & IN_ISDIR) {
        if (event.mask & IN_MOVED_FROM)
            unwatchTree(path);
        if (event.mask & (IN_CREATE | IN_MOVED_TO))
            watchTree(path, false);
    }
    if (event.mask & ReportedEvents)
        report(path);
}

void FileMonitor::Watcher::drain()
{
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t length = ::read(inotify.get(), buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            return;
        for (ssize_t offset = 0; offset < length && !stopped.load();) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            handle(*event);
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

void FileMonitor::Watcher::run()
{
    pollfd fds[2] = {{inotify.get(), POLLIN, 0}, {stopSignal.get(), POLLIN, 0}};
    while (!stopped.load()) {
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (fds[1].revents & POLLIN))
            return;
        if (fds[0].revents & POLLIN)
            drain();
    }
}

FileMonitor::FileMonitor(const QString &rootDirectory) : m_rootDirectory(rootDirectory) {}

FileMonitor::~FileMonitor()
{
    if (!m_watcher)
        return;
    m_watcher->stopped.store(true);
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_watcher->stopSignal.get(), &one, sizeof one);
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach(); // destroyed by its own handler: the thread ends when the handler returns
    else if (m_thread.joinable())
        m_thread.join();
}

void FileMonitor::setChangeHandler(ChangeHandler handler)
{
    m_handler = std::move(handler);
}

void FileMonitor::start()
{
    auto watcher = std::make_shared<Watcher>();
    watcher->inotify = UniqueFd(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
    if (!watcher->inotify.isValid())
        throw FileSystemError::fromErrno(QStringLiteral("Could not watch"), m_rootDirectory);
    watcher->stopSignal = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!watcher->stopSignal.isValid())
        throw FileSystemError::fromErrno(QStringLiteral("Could not watch"), m_rootDirectory);
    watcher->root = withoutTrailingSlash(m_rootDirectory);
    const QString root = m_rootDirectory;
    Watcher *self = watcher.get();
    watcher->report = [self, root, handler = m_handler](const QString &path) {
        if (!handler || self->stopped.load())
            return;
        // The root's own reports stay empty even when the root can no longer be resolved.
        handler({path == self->root ? RootRelativePath::root() : relativePathBelow(root, path)});
    };
    watcher->watchTree(watcher->root, true);
    m_watcher = watcher;
    m_thread = std::thread([watcher] { watcher->run(); });
}

RootRelativePath FileMonitor::relativePath(const QString &path) const
{
    return relativePathBelow(m_rootDirectory, path);
}
