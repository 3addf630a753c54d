#pragma once

#include "RootRelativePath.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

// Watches a drive's root folder and every folder below it with inotify and reports, one path per
// report, what others (and the drive itself) change there: entries created, deleted, moved in or
// out (both ends of a move), written and closed, or whose attributes changed. The root itself
// vanishing or being moved away is reported as the empty path, after which nothing more is reported.
//
// Reports arrive on the monitor's own thread, one at a time, in the order the kernel gives them.
// Destroying the monitor stops that thread and closes its descriptors; no report follows.
class FileMonitor
{
public:
    using ChangeHandler = std::function<void(const QList<RootRelativePath> &paths)>;

    // rootDirectory: an absolute folder path (it may be reached through symbolic links).
    explicit FileMonitor(const QString &rootDirectory);
    ~FileMonitor();
    FileMonitor(const FileMonitor &) = delete;
    FileMonitor &operator=(const FileMonitor &) = delete;

    const QString &rootDirectory() const { return m_rootDirectory; }
    // Set before start(); the handler runs on the monitor's thread.
    void setChangeHandler(ChangeHandler handler);
    // Starts watching. A root that does not exist yet is not watched: the monitor stays quiet.
    // Throws FileSystemError when the system gives no inotify instance.
    void start();

    // The path of an item below the root: both paths have their symbolic links resolved (as far
    // as they exist) and "." and ".." removed, then the root's length is cut from the front.
    // An item outside the root gives a meaningless answer; the monitor only asks for its own.
    RootRelativePath relativePath(const QString &path) const;

private:
    struct Watcher;

    QString m_rootDirectory;
    ChangeHandler m_handler;
    std::shared_ptr<Watcher> m_watcher;
    std::thread m_thread;
};
