#include "storage/ImportJob.h"

#include "core/UniqueFd.h"
#include "storage/DriveManager.h"
#include "storage/FileNaming.h"
#include "storage/FolderOperations.h"
#include "storage/InterruptedImports.h"
#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"
#include "storage/TemporaryCopies.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>

namespace {

QString systemReason(int error)
{
    return QString::fromStdString(std::error_code(error, std::generic_category()).message());
}

// Why the source cannot be read, before anything is written for it.
QString sourceProblem(const QString &path)
{
    // Non-blocking, so that a pipe without a writer does not hold the worker here.
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat status
    {
    };
    if (!fd.isValid() || ::fstat(fd.get(), &status) != 0)
        return systemReason(errno);
    if (S_ISDIR(status.st_mode))
        return systemReason(EISDIR);
    // A FIFO or a device would hold the storage thread, and Cancel could not stop it.
    if (!S_ISREG(status.st_mode))
        return ImportJob::tr("Not a regular file");
    return {};
}

} // namespace

// Everything the pool thread uses; the job itself is reached only through `job`, on the main thread.
struct ImportJob::Worker
{
    QPointer<ImportJob> job;
    std::shared_ptr<DriveManager> manager;
    StorageLocation location;
    QString folderKey;
    VaultSessionPtr session;
    QStringList paths;
    Mode mode;
    std::shared_ptr<std::atomic_bool> cancelled;

    // The posted calls run in order on the main thread, and not at all once the job is gone.
    template <typename Call> void post(Call call) const
    {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [job = job, call = std::move(call)] {
                if (job)
                    call(job.data());
            },
            Qt::QueuedConnection);
    }

    bool isOpen() const { return session && session->isOpen(); }

    void run() const
    {
        qint64 total = 0;
        for (const QString &path : paths)
            total += std::max<qint64>(0, QFileInfo(path).size());
        post([total](ImportJob *target) { target->setTotal(total); });
        if (manager)
            manager->connect();
        FolderOperations operations(manager, location, session);
        QList<InterruptedImports::File> failed;
        qint64 done = 0;
        for (qsizetype index = 0; index < paths.size(); ++index) {
            const QString &path = paths.at(index);
            // The lock first: a job whose sheet went with the lock is cancelled too.
            if (!isOpen())
                return interrupted(failed, index);
            if (cancelled->load())
                break;
            const QString name = QFileInfo(path).fileName();
            post([name](ImportJob *target) { target->beginFile(name); });
            const qint64 base = done;
            const auto progress = [this, base](qint64 read) {
                post([bytes = base + read](ImportJob *target) { target->setBytesDone(bytes); });
                return !cancelled->load();
            };
            QString reason = sourceProblem(path);
            bool imported = false;
            if (reason.isEmpty())
                imported = importOne(operations, path, progress, reason);
            if (!imported && !isOpen())
                return interrupted(failed, index);
            if (!imported && cancelled->load())
                break;
            if (!imported)
                failed.append({name, reason});
            done = base + std::max<qint64>(0, QFileInfo(path).size());
            post([done, imported, reason](ImportJob *target) { target->endFile(done, imported, reason); });
        }
        post([](ImportJob *target) { target->finish(); });
    }

    // The vault locked: paths from `index` on were not stored. Told when the folder opens again,
    // with the failures before, since the sheet that listed them goes with the lock.
    void interrupted(QList<InterruptedImports::File> failed, qsizetype index) const
    {
        const QString reason = tr("The vault locked before this file was stored");
        for (const QString &path : paths.mid(index))
            failed.append({QFileInfo(path).fileName(), reason});
        InterruptedImports::shared().record(folderKey, failed);
        post([failed](ImportJob *target) {
            target->m_interrupted = true;
            for (const InterruptedImports::File &file : failed.mid(target->m_failures.size()))
                target->m_failures.append({file.name, file.reason});
            target->finish();
        });
    }

    bool importOne(FolderOperations &operations, const QString &path,
                   const FileEncryptor::ProgressHandler &progress, QString &reason) const
    {
        QString source = path;
        if (mode == Mode::photos) {
            // A name of its own: a temporary file of the picture's name (a preview's, say) is
            // neither reused nor removed.
            const std::optional<QString> copy = TemporaryCopies::copyToTemporaryDirectory(
                path, FileNaming::generatedFileName(QStringLiteral("import")));
            if (!copy) {
                reason = tr("Could not copy to the temporary folder");
                return false;
            }
            source = *copy;
        }
        const bool photos = mode == Mode::photos;
        if (operations.addToCollectionAndDelete(source, photos, photos, progress))
            return true;
        const std::error_code failure = operations.lastFailure();
        if (!operations.treeRefusal().isEmpty())
            reason = operations.treeRefusal();
        else if (mode == Mode::files && !FileNaming::isStorableFileName(QFileInfo(path).fileName()))
            reason = tr("The vault would list it under another name; rename it first");
        else
            reason = failure ? QString::fromStdString(failure.message()) : tr("Could not be stored");
        return false;
    }
};

ImportJob::ImportJob(ItemCollection *collection, VaultSessionPtr session, const QStringList &paths, Mode mode,
                     QObject *parent)
    : QObject(parent), m_collection(collection), m_session(std::move(session)), m_paths(paths), m_mode(mode),
      m_cancelled(std::make_shared<std::atomic_bool>(false))
{}

ImportJob::~ImportJob()
{
    m_cancelled->store(true);
}

void ImportJob::start()
{
    if (m_started)
        return;
    m_started = true;
    m_running = true;
    Worker worker{this,
                  m_collection ? m_collection->driveManager() : nullptr,
                  m_collection ? m_collection->location() : StorageLocation::local,
                  m_collection ? m_collection->cacheKey() : QString(),
                  m_session,
                  m_paths,
                  m_mode,
                  m_cancelled};
    StoragePool::run([worker = std::move(worker)] { worker.run(); });
}

void ImportJob::cancel()
{
    m_cancelled->store(true);
}

void ImportJob::setTotal(qint64 bytes)
{
    m_bytesTotal = bytes;
    Q_EMIT progressChanged();
}

void ImportJob::beginFile(const QString &name)
{
    m_currentName = name;
    Q_EMIT fileStarted(name);
}

void ImportJob::setBytesDone(qint64 bytes)
{
    if (bytes == m_bytesDone)
        return;
    m_bytesDone = bytes;
    Q_EMIT progressChanged();
}

void ImportJob::endFile(qint64 bytesDone, bool imported, const QString &reason)
{
    ++m_filesDone;
    m_bytesDone = bytesDone;
    if (imported)
        ++m_importedCount;
    else
        m_failures.append({m_currentName, reason});
    Q_EMIT progressChanged();
}

void ImportJob::finish()
{
    m_running = false;
    m_currentName.clear();
    if (m_collection && !m_interrupted)
        m_collection->reload();
    Q_EMIT finished(m_importedCount);
}
