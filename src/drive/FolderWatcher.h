#pragma once

#include "core/UniqueFd.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

struct inotify_event;

// The process's one inotify instance and the one thread that reads it. Every FileMonitor registers
// its folders here and leaves when it is destroyed; the instance and its thread end with the last
// monitor. Per-user inotify instances are few (often 128, shared with every other program), so a
// process that opens many folders must not spend one per folder.
//
// A folder watched by several monitors holds one kernel watch, removed when the last one leaves.
// Every watch has the same event mask, since adding a watch again replaces its mask.
class FolderWatcher
{
public:
    class Client : public std::enable_shared_from_this<Client>
    {
    public:
        virtual ~Client() = default;
        // On the watcher's thread with the watcher locked: may add and remove its own watches.
        virtual void handleEvent(FolderWatcher &watcher, const inotify_event &event) = 0;
        // The kernel dropped events: the client must assume anything changed.
        virtual void handleLostEvents() = 0;
        // With the watcher locked, after each batch of events: what to report.
        virtual QStringList takeReports() = 0;
        // On the watcher's thread, unlocked: hands the reports to whoever listens.
        virtual void deliver(const QStringList &reports) = 0;
    };

    enum class WatchResult { watching, folderMissing, unavailable };

    // The process's watcher, made on first use. Null when the system gives no inotify instance;
    // that is logged once, and the next call tries again.
    static std::shared_ptr<FolderWatcher> shared();
    FolderWatcher(const FolderWatcher &) = delete;
    FolderWatcher &operator=(const FolderWatcher &) = delete;

    // The lock that handleEvent runs under; hold it around a client's first watches.
    std::unique_lock<std::recursive_mutex> lock();
    // With the lock held. followLinks: whether a symbolic link to a folder is watched as the folder.
    WatchResult addWatch(Client &client, const QString &folder, bool followLinks, int *watch);
    void removeWatch(Client &client, int watch);
    // Removes every watch of the client; no event reaches it afterwards.
    void removeClient(Client &client);

    bool isWatcherThread() const;
    // How many kernel watches the instance holds.
    int watchCount();

private:
    struct Owner;
    FolderWatcher() = default;
    void dispatch(const inotify_event &event);
    void readEvents();
    void run();

    UniqueFd m_inotify;
    UniqueFd m_stopSignal;
    std::atomic<bool> m_stopped{false};
    std::thread::id m_threadId;
    std::recursive_mutex m_mutex;
    QList<Client *> m_clients;
    QHash<int, QList<Client *>> m_watches; // watch descriptor -> the clients holding it
};
