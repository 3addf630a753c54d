// soak-bench [OPERATIONS]   opens the collection of a folder of the local tree as a folder screen
//                           does, then stores OPERATIONS (2000) files into it and deletes them
//                           again, one at a time on the storage pool, while the collection follows
//                           its change reports. Prints the open descriptors, threads, inotify
//                           watches and resident memory at rest before and after (the memory also
//                           every 250 operations); exits 1 when a count does not come back, memory
//                           grows past the margin or an operation fails.
// Everything happens in a private temporary home with the passcode in memory.
#include "BenchHome.h"
#include "BenchProcess.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/DriveManager.h"
#include "storage/FolderOperations.h"
#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFutureWatcher>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <functional>
#include <unistd.h>

namespace {

using namespace BenchProcess;

const QString folderName = QStringLiteral("Soak");
constexpr int sampleEvery = 250;
// Idle pool threads end after 30 s (QThreadPool's default expiry); the counts are taken at rest,
// once they have, so that both compare the threads that stay.
constexpr int restMs = 35000;
// Some growth is one-time: OpenSSL and Qt set up on first use, pool threads get malloc arenas,
// and malloc keeps the pages freed by the largest listing. Here that came to about 8 MiB, and three
// rounds in a row ended within 0.1 MiB of each other (after malloc_trim). 20 MiB leaves room for
// other machines and still catches a leak of 5 KiB per operation.
constexpr qint64 rssMarginKiB = 20 * 1024;

struct Counts
{
    int fds = 0;
    int threads = 0;
    int watches = 0;
    qint64 rssKiB = 0;
};

QStringList directoryEntries(const char *path)
{
    QStringList names;
    DIR *dir = ::opendir(path);
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            names.append(QString::fromLatin1(entry->d_name));
    }
    ::closedir(dir);
    return names;
}

// The "inotify wd:" lines of the descriptor's fdinfo, when it is an inotify instance: one per watch.
int inotifyWatches(const QString &fd)
{
    char target[64] = {};
    const QByteArray link = "/proc/self/fd/" + fd.toLatin1();
    if (::readlink(link.constData(), target, sizeof target - 1) < 0 ||
        qstrcmp(target, "anon_inode:inotify") != 0)
        return 0;
    QFile info(QStringLiteral("/proc/self/fdinfo/") + fd);
    if (!info.open(QIODevice::ReadOnly))
        return 0;
    int watches = 0;
    for (const QByteArray &line : info.readAll().split('\n'))
        watches += line.startsWith("inotify wd:") ? 1 : 0;
    return watches;
}

Counts sample()
{
    Counts counts;
    // Less the descriptor that reads the folder.
    const QStringList fds = directoryEntries("/proc/self/fd");
    counts.fds = int(fds.size()) - 1;
    for (const QString &fd : fds)
        counts.watches += inotifyWatches(fd);
    counts.threads = int(directoryEntries("/proc/self/task").size());
    counts.rssKiB = statusKiB("VmRSS:");
    return counts;
}

// Runs the operation on the storage pool, as the application does, and the events meanwhile.
bool onPool(std::function<bool()> operation)
{
    QFutureWatcher<bool> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<bool>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(StoragePool::run(std::move(operation)));
    loop.exec();
    return watcher.result();
}

double mebibytes(qint64 kib)
{
    return double(kib) / 1024.0;
}

int soak(int operations, const QString &sources)
{
    const VaultSessionPtr session = VaultSession::open(QStringLiteral("soak passcode 1"));
    {
        // Gone before the start: only the folder's collection watches.
        const std::shared_ptr<DriveManager> root =
            FolderOperations::makeDriveManager(StorageLocation::local, {});
        root->connect();
        if (!FolderOperations(root, StorageLocation::local, session).createFolder(folderName, std::nullopt)) {
            std::fprintf(stderr, "soak-bench: cannot create the folder\n");
            return 1;
        }
    }
    ItemCollection collection(StorageLocation::local, FileItemType::file, folderName);
    collection.setSession(session);
    bool listed = false;
    QObject::connect(&collection, &ItemCollection::timestampChanged, [&listed] { listed = true; });
    collection.loadFirstTime();
    if (!processUntil([&listed] { return listed; }, 20000, 20)) {
        std::fprintf(stderr, "soak-bench: the folder was never listed\n");
        return 1;
    }
    processFor(restMs);
    const Counts start = sample();

    std::printf("%10s  %-6s  %6s  %8s\n", "operations", "phase", "listed", "RSS MiB");
    QElapsedTimer clock;
    clock.start();
    int failures = 0;
    const auto checkpoint = [&](int done, const char *phase, qsizetype expected) {
        // The collection catches up with its change reports before the memory is read.
        if (!processUntil([&] { return collection.items().size() == expected; }, 30000, 20))
            ++failures;
        std::printf("%10d  %-6s  %6lld  %8.1f\n", done, phase,
                    static_cast<long long>(collection.items().size()), mebibytes(statusKiB("VmRSS:")));
        std::fflush(stdout);
    };
    for (int i = 0; i < operations; ++i) {
        const QString name =
            QString::fromLatin1(i % 2 ? "note-%1.txt" : "scan-%1.pdf").arg(i, 5, 10, QLatin1Char('0'));
        QFile source(sources + u'/' + name);
        if (!source.open(QIODevice::WriteOnly) ||
            source.write(QByteArray(4096 + i % 512, char('a' + i % 26))) < 0)
            return 1;
        source.close();
        FolderOperations operation = collection.operations();
        if (!onPool([operation, path = source.fileName()]() mutable {
                return operation.addToCollectionAndDelete(path, true, false);
            }))
            ++failures;
        if ((i + 1) % sampleEvery == 0 || i + 1 == operations)
            checkpoint(i + 1, "add", i + 1);
    }
    const QList<StoredItemPtr> stored = collection.items();
    for (int i = 0; i < stored.size(); ++i) {
        FolderOperations operation = collection.operations();
        if (!onPool([operation, item = stored.at(i)]() mutable { return operation.deleteFiles({item}); }))
            ++failures;
        if ((i + 1) % sampleEvery == 0 || i + 1 == stored.size())
            checkpoint(operations + i + 1, "delete", stored.size() - i - 1);
    }
    const qint64 busyMs = clock.elapsed();
    processFor(restMs);
    const Counts end = sample();

    std::printf("\n%-16s %8s %8s %8s\n", "at rest", "start", "end", "change");
    const auto row = [](const char *label, qint64 before, qint64 after) {
        std::printf("%-16s %8lld %8lld %+8lld\n", label, static_cast<long long>(before),
                    static_cast<long long>(after), static_cast<long long>(after - before));
    };
    row("descriptors", start.fds, end.fds);
    row("threads", start.threads, end.threads);
    row("inotify watches", start.watches, end.watches);
    std::printf("%-16s %8.1f %8.1f %+8.1f  (margin %.0f)\n", "RSS MiB", mebibytes(start.rssKiB),
                mebibytes(end.rssKiB), mebibytes(end.rssKiB - start.rssKiB), mebibytes(rssMarginKiB));
    std::printf("%d adds and %lld deletes in %.1f s; failed operations or listings: %d\n", operations,
                static_cast<long long>(stored.size()), double(busyMs) / 1000.0, failures);

    const bool held = end.fds == start.fds && end.threads == start.threads && end.watches == start.watches &&
                      end.rssKiB - start.rssKiB <= rssMarginKiB;
    std::printf("%s\n", held && failures == 0 && stored.size() == operations ? "PASS" : "FAIL");
    return held && failures == 0 && stored.size() == operations ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const int operations = argc > 1 ? std::atoi(argv[1]) : 2000;
    if (operations <= 0) {
        std::fprintf(stderr, "usage: soak-bench [OPERATIONS]\n");
        return 2;
    }
    const BenchHome home(QStringLiteral("soak"));
    if (!home.isValid())
        return 1;
    const QString sources = home.filePath(QStringLiteral("sources"));
    if (!QDir().mkpath(sources))
        return 1;
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("com.morvenda.Journey*=false"));
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    if (!KeyChainHelper::shared().saveKey(QStringLiteral("soak passcode 1")))
        return 1;
    return soak(operations, sources);
}
