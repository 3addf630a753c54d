#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

#include "security/VaultSession.h"

class ItemCollection;

// Copies local files, encrypted, into a collection's folder, one at a time on the storage pool,
// and tells the main thread how far it got. The sources are never changed: in photos mode each
// picture goes through a temporary copy, stored under a generated ".JPEG" name, and that copy is
// removed. A file that fails is noted with its reason and the next one goes on. The collection
// reloads when the job ends.
//
// The job runs under a vault session. When the vault locks, the file being copied leaves nothing
// behind, the files stored before it stay, and the ones not stored are recorded in
// InterruptedImports for the folder, whether or not anybody still watches the job.
class ImportJob : public QObject
{
    Q_OBJECT
public:
    enum class Mode { files, photos };
    struct Failure
    {
        QString name;   // the source's file name
        QString reason; // as the system words it ("No such file or directory")
    };

    ImportJob(ItemCollection *collection, VaultSessionPtr session, const QStringList &paths,
              Mode mode = Mode::files, QObject *parent = nullptr);
    // Stops the worker as cancel() does; what it reports afterwards goes nowhere.
    ~ImportJob() override;

    void start();
    // Abandons the file being copied (nothing of it stays) and starts no other; files stored
    // already stay. finished() still comes.
    void cancel();

    QStringList paths() const { return m_paths; }
    Mode mode() const { return m_mode; }
    bool isRunning() const { return m_running; }
    bool wasCancelled() const { return m_cancelled->load(); }
    // The vault locked before every file was done.
    bool wasInterrupted() const { return m_interrupted; }
    int filesTotal() const { return int(m_paths.size()); }
    // Files imported or failed so far.
    int filesDone() const { return m_filesDone; }
    qint64 bytesTotal() const { return m_bytesTotal; }
    qint64 bytesDone() const { return m_bytesDone; }
    QString currentName() const { return m_currentName; }
    int importedCount() const { return m_importedCount; }
    QList<Failure> failures() const { return m_failures; }

Q_SIGNALS:
    void fileStarted(const QString &name);
    // filesDone, bytesDone or bytesTotal moved.
    void progressChanged();
    void finished(int importedCount);

private:
    struct Worker;
    void setTotal(qint64 bytes);
    void beginFile(const QString &name);
    void setBytesDone(qint64 bytes);
    void endFile(qint64 bytesDone, bool imported, const QString &reason);
    void finish();

    QPointer<ItemCollection> m_collection;
    const VaultSessionPtr m_session;
    const QStringList m_paths;
    const Mode m_mode;
    const std::shared_ptr<std::atomic_bool> m_cancelled;
    bool m_started = false;
    bool m_running = false;
    bool m_interrupted = false;
    int m_filesDone = 0;
    int m_importedCount = 0;
    qint64 m_bytesTotal = 0;
    qint64 m_bytesDone = 0;
    QString m_currentName;
    QList<Failure> m_failures;
};
