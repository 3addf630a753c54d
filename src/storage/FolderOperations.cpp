#include "storage/FolderOperations.h"

#include "core/Logging.h"
#include "drive/CloudDrive.h"
#include "drive/DriveError.h"
#include "drive/FileSystemError.h"
#include "drive/NativePath.h"
#include "storage/DriveManager.h"
#include "storage/DriveManagerError.h"
#include "storage/FileNaming.h"
#include "storage/ImageFromDecodedData.h"
#include "storage/PinEntry.h"
#include "storage/TreeKeyCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

namespace {

void logCaught(const std::exception &error)
{
    errorMsg(QStringLiteral("Caught error ") + QString::fromUtf8(error.what()));
}

} // namespace

FolderOperations::FolderOperations(std::shared_ptr<DriveManager> manager, StorageLocation location,
                                   VaultSessionPtr session)
    : m_manager(std::move(manager)), m_location(location), m_session(std::move(session))
{}

std::shared_ptr<DriveManager> FolderOperations::makeDriveManager(StorageLocation location,
                                                                 const QString &rootPath)
{
    // A manager is a QObject of the thread that made it; the last holder may be a pool thread.
    return std::shared_ptr<DriveManager>(new DriveManager(location, rootPath), [](DriveManager *manager) {
        if (manager->thread() == QThread::currentThread())
            delete manager;
        else
            manager->deleteLater();
    });
}

bool FolderOperations::hasDrive() const
{
    if (m_manager && m_manager->drive())
        return true;
    fatalErrorMsg(QStringLiteral("no storage manager"));
    return false;
}

bool FolderOperations::mayChange() const
{
    if (!hasDrive())
        return false;
    return isOpen() || refusedAsLocked();
}

bool FolderOperations::refusedAsLocked()
{
    errorMsg(QStringLiteral("Caught error ") +
             DriveManagerError(DriveManagerError::Kind::locked).description());
    return false;
}

bool FolderOperations::treeAcceptsWrites()
{
    m_treeRefusal = TreeKeyCheck::beforeWrite(m_location, *m_session);
    return m_treeRefusal.isEmpty();
}

bool FolderOperations::createFolder(const QString &name, const std::optional<QString> &pin)
{
    if (!mayChange())
        return false;
    if (!FileNaming::isAcceptableFolderName(name)) {
        logError(QStringLiteral("refused folder name"), QStringLiteral("ItemCollection"),
                 QStringLiteral("createFolder(named:pin:)"));
        return false;
    }
    if (!treeAcceptsWrites())
        return false;
    const QString adjusted = FileNaming::adjustedFolderName(name);
    const bool existed = m_manager->directoryExists(adjusted);
    const std::shared_ptr<CloudDrive> folder = DriveManager::getCloudDrive(m_location, adjusted, true);
    if (!folder)
        return false;
    if (!pin || pin->trimmed().isEmpty())
        return true;
    if (createPin(pin->trimmed(), adjusted))
        return true;
    // The person asked for a protected folder: one without its PIN must not stay.
    if (!existed) {
        try {
            folder->removeDirectory(RootRelativePath::root());
        } catch (const std::exception &error) {
            logCaught(error);
        }
    }
    return false;
}

bool FolderOperations::createPin(const QString &pin, const QString &folderPath)
{
    if (!isOpen())
        return refusedAsLocked();
    const QString trimmed = pin.trimmed();
    if (trimmed.isEmpty()) {
        logError(QStringLiteral("no pin"), QStringLiteral("ItemCollection"),
                 QStringLiteral("createPin(withPin:at:)"));
        return false;
    }
    if (!treeAcceptsWrites())
        return false;
    const std::shared_ptr<DriveManager> manager = makeDriveManager(m_location, folderPath);
    manager->connect();
    // Written with its exact scrambled name, padding included, as PIN files always were.
    const QString entryName = FileNaming::scrambledName(FileNaming::pinFileName());
    const bool saved = manager->saveData(*m_session, trimmed.toUtf8(), entryName);
    // Other spellings of the entry (a damaged one a sync client left) would keep the folder locked.
    const bool othersGone = saved && removePinEntries(manager->drive(), entryName);
    manager->detach();
    return saved && othersGone;
}

bool FolderOperations::removePin()
{
    // A machine that cannot read the PIN entry (another passcode wrote it) must not unprotect the folder.
    if (!mayChange() || !treeAcceptsWrites())
        return false;
    return removePinEntries(m_manager->drive(), std::nullopt);
}

bool FolderOperations::removePinEntries(const std::shared_ptr<CloudDrive> &drive,
                                        const std::optional<QString> &keeping)
{
    if (!drive)
        return false;
    try {
        const QByteArray kept = keeping ? QFile::encodeName(drive->rootDirectory() + *keeping) : QByteArray();
        int removed = 0;
        for (const QByteArray &entry : PinEntry::entriesIn(*drive)) {
            if (entry == kept)
                continue;
            drive->removeListedFile(entry);
            ++removed;
        }
        return keeping || removed > 0;
    } catch (const std::exception &error) {
        logCaught(error);
        return false;
    }
}

bool FolderOperations::deleteFolder()
{
    if (!mayChange())
        return false;
    const QString folder = m_manager->drive() ? m_manager->drive()->rootDirectory() : QString();
    const bool removed = m_manager->removeFolder();
    if (removed) {
        m_manager->detach();
        ImageFromDecodedData::forgetFolder(folder);
    }
    return removed;
}

bool FolderOperations::deleteFiles(const QList<StoredItemPtr> &items)
{
    m_deleteFailures.clear();
    if (!mayChange()) {
        for (const StoredItemPtr &item : items)
            m_deleteFailures.append(
                {item->fullName(), isOpen() ? tr("The folder is gone.") : tr("The vault locked.")});
        return false;
    }
    for (const StoredItemPtr &item : items) {
        if (!isOpen()) {
            refusedAsLocked();
            m_deleteFailures.append({item->fullName(), tr("The vault locked.")});
            continue;
        }
        try {
            m_manager->drive()->removeListedFile(NativePath::fromUrl(item->url()));
            ImageFromDecodedData::forget(item->url());
        } catch (const FileSystemError &error) {
            logCaught(error);
            m_deleteFailures.append({item->fullName(), QString::fromStdString(error.code().message())});
        } catch (const std::exception &error) {
            logCaught(error);
            m_deleteFailures.append({item->fullName(), tr("It is no longer there.")});
        }
    }
    return m_deleteFailures.isEmpty();
}

bool FolderOperations::addToCollectionAndDelete(const QString &sourcePath, bool shouldDelete, bool rename,
                                                const FileEncryptor::ProgressHandler &progress)
{
    m_lastFailure.clear();
    if (!hasDrive())
        return false;
    if (!isOpen()) {
        // The lock stopped it: a temporary copy made for it goes all the same.
        m_lastFailure = std::make_error_code(std::errc::operation_canceled);
        removeSource(sourcePath, shouldDelete);
        return refusedAsLocked();
    }
    const QString plain =
        rename ? FileNaming::generatedFileName(QStringLiteral("JPEG")) : QFileInfo(sourcePath).fileName();
    bool copied = false;
    if (!treeAcceptsWrites()) {
        m_lastFailure = std::make_error_code(std::errc::operation_not_permitted);
        removeSource(sourcePath, shouldDelete);
        return false;
    }
    // A name the listing would hide, or show as another one, could never be seen, opened or
    // deleted again by it: refused before anything is written, not lost.
    if (!FileNaming::isStorableFileName(plain)) {
        m_lastFailure = std::make_error_code(std::errc::invalid_argument);
        logError(QStringLiteral("Refused the name ") + FileNaming::forLog(plain),
                 QStringLiteral("ItemCollection"),
                 QStringLiteral("addToCollectionAndDelete(_:shouldDelete:rename:)"));
    } else {
        copied = importUnderUniqueName(sourcePath, plain, progress);
    }
    removeSource(sourcePath, shouldDelete);
    return copied;
}

void FolderOperations::removeSource(const QString &sourcePath, bool shouldDelete)
{
    if (!shouldDelete || !QFileInfo::exists(sourcePath))
        return;
    QFile source(sourcePath);
    if (!source.remove())
        errorMsg(QStringLiteral("Caught error ") + source.errorString());
}

bool FolderOperations::importUnderUniqueName(const QString &sourcePath, const QString &plain,
                                             const FileEncryptor::ProgressHandler &progress)
{
    const std::optional<QSet<QString>> takenFolded =
        m_location == StorageLocation::cloud ? foldedNames() : std::nullopt;
    // The first free name as listed now; another writer may take it before the file is complete,
    // and then the next one is tried, so that neither file replaces the other.
    int next = uniqueAttempt(plain);
    QStringList tried;
    const auto names = [&](int attempt) -> std::optional<QString> {
        while (tried.size() <= attempt) {
            if (next > maxNameAttempts)
                return std::nullopt;
            const QString candidate = FileNaming::uniqueNameCandidate(plain, next++);
            const bool taken =
                takenFolded && takenFolded->contains(FileNaming::storedFileName(candidate).toCaseFolded());
            if (!taken && FileNaming::isStorableFileName(candidate))
                tried.append(candidate);
        }
        return FileNaming::scrambledName(tried.at(attempt));
    };
    const std::optional<int> stored =
        m_manager->importFileAs(*m_session, sourcePath, names, &m_lastFailure, progress);
    if (stored) {
        m_lastStoredName = tried.at(*stored);
        return true;
    }
    if (m_lastFailure != std::errc::operation_canceled)
        logError(QStringLiteral("Failed to copy ") + FileNaming::scrambledName(plain),
                 QStringLiteral("ItemCollection"),
                 QStringLiteral("addToCollectionAndDelete(_:shouldDelete:rename:)"));
    return false;
}

bool FolderOperations::fileExists(const QString &storedName, bool &exists) const
{
    try {
        exists = m_manager->drive()->fileExists(RootRelativePath(storedName));
        return true;
    } catch (const std::exception &error) {
        logCaught(error);
        return false;
    }
}

QString FolderOperations::uniqueName(const QString &name)
{
    return FileNaming::uniqueNameCandidate(name, uniqueAttempt(name));
}

int FolderOperations::uniqueAttempt(const QString &name)
{
    // The cloud tree may be synced to machines whose file systems ignore letter case: there
    // "aa.tOS" and "AA.tOS" would collide, so a name taken up to case counts as taken.
    const std::optional<QSet<QString>> takenFolded =
        m_location == StorageLocation::cloud ? foldedNames() : std::nullopt;
    for (int attempt = 0;; ++attempt) {
        const QString candidate = FileNaming::uniqueNameCandidate(name, attempt);
        if (!m_manager || !m_manager->drive() || attempt >= maxNameAttempts)
            return attempt;
        // Tested under the name the import writes: the drive trims the scrambled name.
        const QString stored = FileNaming::storedFileName(candidate);
        if (takenFolded) {
            if (!takenFolded->contains(stored.toCaseFolded()))
                return attempt;
            continue;
        }
        bool exists = false;
        if (!fileExists(stored, exists) || !exists)
            return attempt;
    }
}

std::optional<QSet<QString>> FolderOperations::foldedNames() const
{
    if (!m_manager || !m_manager->drive())
        return std::nullopt;
    try {
        QSet<QString> names;
        for (const QString &path :
             m_manager->drive()->contentsOfDirectory(RootRelativePath::root(), HiddenFiles::include))
            names.insert(QFileInfo(path).fileName().toCaseFolded());
        return names;
    } catch (const std::exception &error) {
        logCaught(error);
        return std::nullopt;
    }
}

bool FolderOperations::addImageData(const QByteArray &data)
{
    if (!mayChange() || !treeAcceptsWrites())
        return false;
    return m_manager->saveData(
        *m_session, data, FileNaming::scrambledName(FileNaming::generatedFileName(QStringLiteral("JPG"))));
}

void FolderOperations::importFromFiles(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!mayChange())
            return;
        // Outside the sandboxed platform access is plain file permission; files of a sync
        // client's folder are complete on disk, so nothing waits for a download.
        if (!QFileInfo(path).isReadable()) {
            logError(QStringLiteral("Failed copy access for ") +
                         FileNaming::scrambledName(QFileInfo(path).fileName()),
                     QStringLiteral("ItemCollection"), QStringLiteral("importFromFiles(_:)"));
            continue;
        }
        addToCollectionAndDelete(path, false, false);
    }
}
