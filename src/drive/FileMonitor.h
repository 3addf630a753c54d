#pragma once

#include "drive/RootRelativePath.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class FolderWatcher;

// Watches a drive's root folder, with one watch and not the folders below it, and reports, one
// path per report, what others (and the drive itself) change there: entries created, deleted,
// moved in or out (both ends of a move), written and closed, or whose attributes changed. The root itself
// vanishing or being moved away is reported as the empty path; so is its coming back (a sync client
// recreating it), after which watching resumes.
//
// Reports arrive on the process's folder-watching thread (FolderWatcher), one at a time, in the
// order the kernel gives them. Once the destructor returns, no report follows.
class FileMonitor
{
public:
    using ChangeHandler = std::function<void(const QList<RootRelativePath> &paths)>;

    // rootDirectory: an absolute folder path. Links on the way to it are followed (the
    // CloudContainer link), a link in its place is not.
    explicit FileMonitor(const QString &rootDirectory);
    ~FileMonitor();
    FileMonitor(const FileMonitor &) = delete;
    FileMonitor &operator=(const FileMonitor &) = delete;

    const QString &rootDirectory() const { return m_rootDirectory; }
    // Set before start(); the handler runs on the monitor's thread.
    void setChangeHandler(ChangeHandler handler);
    // Starts watching. A root that does not exist yet is watched for from its parent folder. When
    // the system cannot watch (no inotify instance or watch left), it is logged once and the monitor
    // stays quiet: the drive works without change reports.
    void start();

    // The path of an item below the root: both paths have their symbolic links resolved (as far
    // as they exist) and "." and ".." removed, then the root's length is cut from the front.
    // An item outside the root gives a meaningless answer; the monitor only asks for its own.
    RootRelativePath relativePath(const QString &path) const;

private:
    struct Tree;

    QString m_rootDirectory;
    ChangeHandler m_handler;
    std::shared_ptr<FolderWatcher> m_folderWatcher;
    std::shared_ptr<Tree> m_tree;
};
