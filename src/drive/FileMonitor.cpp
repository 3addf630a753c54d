#include "drive/FileMonitor.h"

#include "drive/FolderWatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <sys/inotify.h>
#include <utility>

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

// A monitor's folders, registered with the process's watcher; it lives until the last report
// being delivered to it returns, even when the monitor is destroyed from inside that report.
struct FileMonitor::Tree : FolderWatcher::Client
{
    QString root;     // as given, without a trailing slash
    QString realRoot; // where the root was found; its parent is watched while the root is missing
    ChangeHandler handler;
    int rootWatch = -1;
    int parentWatch = -1;
    QStringList reports;
    std::mutex deliveryMutex;
    std::atomic<bool> stopped{false};

    FolderWatcher::WatchResult watchRoot(FolderWatcher &watcher);
    void releaseRoot(FolderWatcher &watcher);
    void startWatching(FolderWatcher &watcher);
    void waitForRoot(FolderWatcher &watcher, bool checkNow);
    void rootReturned(FolderWatcher &watcher);
    void stop(const FolderWatcher &watcher);

    void handleEvent(FolderWatcher &watcher, const inotify_event &event) override;
    void handleLostEvents() override { reports.append(root); }
    QStringList takeReports() override { return std::exchange(reports, {}); }
    void deliver(const QStringList &paths) override;
};

FolderWatcher::WatchResult FileMonitor::Tree::watchRoot(FolderWatcher &watcher)
{
    // The root's own folder only: what lies deeper is not the drive's to show, and every watch
    // comes out of the per-user budget that the sync client needs too. A root that is a link is
    // not watched through: it is no folder of the tree.
    int watch = -1;
    const FolderWatcher::WatchResult result = watcher.addWatch(*this, root, false, &watch);
    if (result == FolderWatcher::WatchResult::watching)
        rootWatch = watch;
    return result;
}

void FileMonitor::Tree::releaseRoot(FolderWatcher &watcher)
{
    watcher.removeWatch(*this, rootWatch);
    rootWatch = -1;
}

void FileMonitor::Tree::startWatching(FolderWatcher &watcher)
{
    if (watchRoot(watcher) == FolderWatcher::WatchResult::folderMissing)
        waitForRoot(watcher, true);
}

void FileMonitor::Tree::waitForRoot(FolderWatcher &watcher, bool checkNow)
{
    const qsizetype slash = realRoot.lastIndexOf(u'/');
    if (slash <= 0)
        return;
    int watch = -1;
    if (watcher.addWatch(*this, realRoot.left(slash), false, &watch) != FolderWatcher::WatchResult::watching)
        return; // its parent is gone too: the monitor stays quiet
    parentWatch = watch;
    // It may have come back before its parent was watched.
    if (checkNow && QFileInfo(root).isDir())
        rootReturned(watcher);
}

void FileMonitor::Tree::rootReturned(FolderWatcher &watcher)
{
    watcher.removeWatch(*this, parentWatch);
    parentWatch = -1;
    if (watchRoot(watcher) == FolderWatcher::WatchResult::watching)
        reports.append(root);
    else
        waitForRoot(watcher, false);
}

void FileMonitor::Tree::handleEvent(FolderWatcher &watcher, const inotify_event &event)
{
    if (event.wd == parentWatch) {
        if (event.mask & IN_IGNORED)
            parentWatch = -1;
        else if ((event.mask & (IN_CREATE | IN_MOVED_TO)) && (event.mask & IN_ISDIR) && event.len > 0 &&
                 QFile::decodeName(event.name) == QFileInfo(realRoot).fileName())
            rootReturned(watcher);
        return;
    }
    if (event.wd != rootWatch)
        return;
    if (event.mask & RootGoneEvents) {
        releaseRoot(watcher);
        reports.append(root);
        waitForRoot(watcher, true);
        return;
    }
    if (event.len == 0)
        return;
    if (event.mask & ReportedEvents)
        reports.append(root + u'/' + QFile::decodeName(event.name));
}

void FileMonitor::Tree::deliver(const QStringList &paths)
{
    std::lock_guard guard(deliveryMutex);
    for (const QString &path : paths) {
        if (stopped.load() || !handler)
            return;
        // The root's own reports stay empty; the others name an entry of the root, as the kernel
        // gave it, without resolving it (it may be a link).
        handler({path == root ? RootRelativePath::root() : RootRelativePath(path.mid(root.size() + 1))});
    }
}

void FileMonitor::Tree::stop(const FolderWatcher &watcher)
{
    if (watcher.isWatcherThread()) {
        stopped.store(true); // from inside a report: no other report can be under way
        return;
    }
    std::lock_guard guard(deliveryMutex); // waits for a report being delivered
    stopped.store(true);
}

FileMonitor::FileMonitor(const QString &rootDirectory) : m_rootDirectory(rootDirectory) {}

FileMonitor::~FileMonitor()
{
    if (!m_tree)
        return;
    m_tree->stop(*m_folderWatcher);
    m_folderWatcher->removeClient(*m_tree);
}

void FileMonitor::setChangeHandler(ChangeHandler handler)
{
    m_handler = std::move(handler);
}

void FileMonitor::start()
{
    m_folderWatcher = FolderWatcher::shared();
    if (!m_folderWatcher)
        return;
    auto tree = std::make_shared<Tree>();
    tree->root = withoutTrailingSlash(m_rootDirectory);
    // The root's parent is resolved (it may lie behind the CloudContainer link), the root itself not.
    const qsizetype slash = tree->root.lastIndexOf(u'/');
    tree->realRoot = slash > 0 ? resolvedPath(tree->root.left(slash)) + tree->root.mid(slash) : tree->root;
    tree->handler = m_handler;
    const std::unique_lock lock = m_folderWatcher->lock();
    tree->startWatching(*m_folderWatcher);
    m_tree = tree;
}

RootRelativePath FileMonitor::relativePath(const QString &path) const
{
    return relativePathBelow(m_rootDirectory, path);
}
