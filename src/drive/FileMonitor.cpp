#include "FileMonitor.h"

#include "FolderWatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

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
    QString monitorRoot;
    ChangeHandler handler;
    QHash<int, QString> folders; // watch descriptor -> watched folder path
    int rootWatch = -1;
    int parentWatch = -1;
    QStringList reports;
    std::mutex deliveryMutex;
    std::atomic<bool> stopped{false};

    FolderWatcher::WatchResult watchTree(FolderWatcher &watcher, const QString &folder, bool isRoot);
    void unwatchTree(FolderWatcher &watcher, const QString &folder);
    void releaseTree(FolderWatcher &watcher);
    void watchRoot(FolderWatcher &watcher);
    void waitForRoot(FolderWatcher &watcher, bool checkNow);
    void rootReturned(FolderWatcher &watcher);
    void stop(const FolderWatcher &watcher);

    void handleEvent(FolderWatcher &watcher, const inotify_event &event) override;
    void handleLostEvents() override { reports.append(root); }
    QStringList takeReports() override { return std::exchange(reports, {}); }
    void deliver(const QStringList &paths) override;
};

FolderWatcher::WatchResult FileMonitor::Tree::watchTree(FolderWatcher &watcher, const QString &folder,
                                                        bool isRoot)
{
    // The root may be a link to the real folder; the folders below are watched as they are.
    int watch = -1;
    const FolderWatcher::WatchResult result = watcher.addWatch(*this, folder, isRoot, &watch);
    if (result != FolderWatcher::WatchResult::watching)
        return result;
    folders.insert(watch, folder);
    if (isRoot)
        rootWatch = watch;
    const QStringList subfolders = QDir(folder).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot |
                                                          QDir::NoSymLinks | QDir::System);
    for (const QString &name : subfolders)
        watchTree(watcher, folder + u'/' + name, false);
    return result;
}

void FileMonitor::Tree::unwatchTree(FolderWatcher &watcher, const QString &folder)
{
    const QString below = folder + u'/';
    for (auto it = folders.begin(); it != folders.end();) {
        if (it.key() != rootWatch && (it.value() == folder || it.value().startsWith(below))) {
            watcher.removeWatch(*this, it.key());
            it = folders.erase(it);
        } else {
            ++it;
        }
    }
}

void FileMonitor::Tree::releaseTree(FolderWatcher &watcher)
{
    for (auto it = folders.cbegin(); it != folders.cend(); ++it)
        watcher.removeWatch(*this, it.key());
    folders.clear();
    rootWatch = -1;
}

void FileMonitor::Tree::watchRoot(FolderWatcher &watcher)
{
    if (watchTree(watcher, root, true) == FolderWatcher::WatchResult::folderMissing)
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
    if (watchTree(watcher, root, true) == FolderWatcher::WatchResult::watching)
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
    const auto found = folders.constFind(event.wd);
    if (found == folders.constEnd())
        return;
    const QString folder = found.value();
    if (event.wd == rootWatch && (event.mask & RootGoneEvents)) {
        releaseTree(watcher);
        reports.append(root);
        waitForRoot(watcher, true);
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
            unwatchTree(watcher, path);
        if (event.mask & (IN_CREATE | IN_MOVED_TO))
            watchTree(watcher, path, false);
    }
    if (event.mask & ReportedEvents)
        reports.append(path);
}

void FileMonitor::Tree::deliver(const QStringList &paths)
{
    std::lock_guard guard(deliveryMutex);
    for (const QString &path : paths) {
        if (stopped.load() || !handler)
            return;
        // The root's own reports stay empty even when the root can no longer be resolved.
        handler({path == root ? RootRelativePath::root() : relativePathBelow(monitorRoot, path)});
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
    tree->realRoot = resolvedPath(tree->root);
    tree->monitorRoot = m_rootDirectory;
    tree->handler = m_handler;
    const std::unique_lock lock = m_folderWatcher->lock();
    tree->watchRoot(*m_folderWatcher);
    m_tree = tree;
}

RootRelativePath FileMonitor::relativePath(const QString &path) const
{
    return relativePathBelow(m_rootDirectory, path);
}
