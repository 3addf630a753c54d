#include "storage/DriveManager.h"

#include "core/AppPaths.h"
#include "core/Logging.h"
#include "drive/CloudDrive.h"
#include "drive/FileSystemError.h"
#include "drive/NativePath.h"
#include "drive/PartialFile.h"
#include "security/FileEncryptor.h"
#include "storage/DriveManagerError.h"
#include "storage/DriveNotificationCenter.h"
#include "storage/FileNaming.h"
#include "storage/TreeKeyCheck.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {
const QStringList ignoredNames{QStringLiteral(".ds_store")};

void logCaught(const DriveError &error)
{
    errorMsg(QStringLiteral("Caught error ") + error.description());
}

QString keyOf(const VaultSession &session)
{
    const std::optional<QString> key = session.key();
    if (!key)
        throw DriveManagerError(DriveManagerError::Kind::locked);
    return *key;
}

// Nothing is given its name in the vault once the session has ended.
void checkOpen(const VaultSession &session)
{
    if (!session.isOpen())
        throw DriveManagerError(DriveManagerError::Kind::locked);
}

} // namespace

DriveManager::DriveManager(StorageLocation location, const QString &rootPath, QObject *parent)
    : QObject(parent), m_location(location), m_rootPath(rootPath)
{}

DriveManager::~DriveManager()
{
    logInfo(QStringLiteral("DriveManager deinit: ") + description());
    detach();
}

std::shared_ptr<CloudDrive> DriveManager::getCloudDrive(StorageLocation location, const QString &path,
                                                        bool create)
{
    CloudDrive::Storage storage = CloudDrive::Storage::cloudContainer();
    if (location == StorageLocation::local) {
        const QString documents = AppPaths::documentsDirectory();
        if (!AppPaths::makePrivateFolders(documents)) {
            logError(QStringLiteral("failed to find app document folder"), QStringLiteral("DriveManager"),
                     QStringLiteral("getCloudDrive(at:path:create:)"));
            return nullptr;
        }
        storage = CloudDrive::Storage::localDirectory(documents);
    }
    try {
        return std::make_shared<CloudDrive>(storage, path, !create);
    } catch (const DriveError &error) {
        logCaught(error);
        return nullptr;
    }
}

std::shared_ptr<CloudDrive> DriveManager::drive() const
{
    QMutexLocker lock(&m_driveMutex);
    return m_drive;
}

void DriveManager::setDrive(std::shared_ptr<CloudDrive> drive)
{
    std::shared_ptr<CloudDrive> previous;
    {
        QMutexLocker lock(&m_driveMutex);
        if (m_drive == drive)
            return;
        previous = std::exchange(m_drive, std::move(drive));
    }
    // The old drive (and its watcher thread) goes outside the lock.
    previous.reset();
    Q_EMIT driveChanged();
}

QString DriveManager::description() const
{
    const std::shared_ptr<CloudDrive> current = drive();
    return (current ? FileNaming::forLog(current->relativePathToRoot()) : QString()) + rawValue(m_location);
}

void DriveManager::connect()
{
    QMutexLocker lock(&m_connectMutex);
    if (hasDrive())
        return;
    std::shared_ptr<CloudDrive> opened = getCloudDrive(m_location, m_rootPath, false);
    if (!opened) {
        fatalErrorMsg(QStringLiteral("Failed to create drive for '") + rawValue(m_location) + u'.' +
                      FileNaming::forLog(m_rootPath) + QStringLiteral("' "));
        return;
    }
    opened->setObserver(this);
    setDrive(std::move(opened));
    Q_EMIT locationChanged();
}

int DriveManager::removeLeftovers()
{
    const std::shared_ptr<CloudDrive> current = drive();
    if (!current)
        return 0;
    try {
        return current->removeLeftoverPartials(RootRelativePath::root());
    } catch (const DriveError &error) {
        logCaught(error);
        return 0;
    }
}

bool DriveManager::directoryExists(const QString &path)
{
    const std::shared_ptr<CloudDrive> current = drive();
    if (!current)
        return false;
    try {
        return current->directoryExists(RootRelativePath(path));
    } catch (const DriveError &error) {
        logCaught(error);
        return false;
    }
}

QList<QUrl> DriveManager::listItems(FileItemType type)
{
    const std::shared_ptr<CloudDrive> current = drive();
    if (!current)
        return {};
    QList<DirectoryEntry> entries;
    try {
        entries = current->entriesOfDirectory(RootRelativePath::root(), HiddenFiles::skip);
    } catch (const DriveError &) {
        return {};
    }
    const DirectoryEntry::Kind wanted =
        type == FileItemType::file ? DirectoryEntry::Kind::file : DirectoryEntry::Kind::directory;
    QList<QUrl> urls;
    urls.reserve(entries.size());
    for (const DirectoryEntry &entry : std::as_const(entries)) {
        // Links, FIFOs, sockets and devices are not the vault's: never listed, so never opened.
        if (entry.kind == DirectoryEntry::Kind::other)
            continue;
        if (type == FileItemType::all || entry.kind == wanted)
            urls.append(NativePath::toUrl(entry.nativePath));
    }
    return urls;
}

std::optional<QByteArray> DriveManager::loadFile(const VaultSession &session, const QString &path)
{
    const std::shared_ptr<CloudDrive> current = drive();
    if (!current) {
        logError(QStringLiteral("Can't load file w/o drive"), QStringLiteral(__FILE__),
                 QStringLiteral("loadFile(_:)"));
        return std::nullopt;
    }
    try {
        const QString key = keyOf(session);
        const QByteArray encrypted = current->readFile(RootRelativePath(path));
        std::optional<QByteArray> plain = FileEncryptor::decrypt(encrypted, key);
        if (!plain)
            throw DriveManagerError(DriveManagerError::Kind::decryptFailed);
        return plain;
    } catch (const DriveError &error) {
        logCaught(error);
        return std::nullopt;
    }
}

bool DriveManager::saveData(const VaultSession &session, const QByteArray &data, const QString &name)
{
    const std::shared_ptr<CloudDrive> current = drive();
    if (!current) {
        logError(QStringLiteral("Can't save data w/o drive"), QStringLiteral(__FILE__),
                 QStringLiteral("saveData(_:named:)"));
        return false;
    }
    try {
        const std::optional<QByteArray> encrypted = FileEncryptor::encrypt(data, keyOf(session));
        if (!encrypted)
            throw DriveManagerError(DriveManagerError::Kind::encryptFailed);
        CloudDrive::checkFileName(name);
        checkOpen(session);
        current->writeFile(*encrypted, RootRelativePath::root().appending(name));
        return true;
    } catch (const DriveError &error) {
        logCaught(error);
        return false;
    }
}

bool DriveManager::importFile(const VaultSession &session, const QString &sourcePath, const QString &name,
                              std::error_code *failure, const FileEncryptor::ProgressHandler &progress)
{
    const auto only = [&name](int attempt) { return attempt == 0 ? std::optional(name) : std::nullopt; };
    return importFileAs(session, sourcePath, only, failure, progress).has_value();
}

std::optional<int> DriveManager::importFileAs(const VaultSession &session, const QString &sourcePath,
                                              const NameCandidates &names, std::error_code *failure,
                                              const FileEncryptor::ProgressHandler &progress)
{
    const std::shared_ptr<CloudDrive> current = drive();
    if (!current) {
        logError(QStringLiteral("Can't import file w/o drive"), QStringLiteral(__FILE__),
                 QStringLiteral("importFile(from:named:)"));
        return std::nullopt;
    }
    try {
        const QString key = keyOf(session);
        std::optional<QString> name = names(0);
        if (!name)
            return std::nullopt;
        const std::unique_ptr<PartialFile> partial = current->newFile(*name, RootRelativePath::root());
        FileEncryptor::IoFailure io;
        const auto goOn = [&session, &progress](qint64 done) {
            return session.isOpen() && (!progress || progress(done));
        };
        if (!FileEncryptor::processFile(sourcePath, partial->fd(), key, CryptOperation::encrypt, &io, goOn)) {
            // Logged by the encryptor; the partial file goes with `partial`.
            if (failure && io.stopped)
                *failure = std::make_error_code(std::errc::operation_canceled);
            else if (failure && (io.writeError || io.readError))
                *failure =
                    std::error_code(io.writeError ? io.writeError : io.readError, std::generic_category());
            return std::nullopt;
        }
        for (int attempt = 0; name; name = names(++attempt)) {
            CloudDrive::checkFileName(*name);
            checkOpen(session);
            if (partial->commitAs(name->trimmed()))
                return attempt;
        }
        throw FileSystemError(std::make_error_code(std::errc::file_exists), QStringLiteral("Could not save"),
                              sourcePath);
    } catch (const FileSystemError &error) {
        logCaught(error);
        if (failure)
            *failure = error.code();
        return std::nullopt;
    } catch (const DriveManagerError &error) {
        logCaught(error);
        if (failure && error.kind() == DriveManagerError::Kind::locked)
            *failure = std::make_error_code(std::errc::operation_canceled);
        return std::nullopt;
    } catch (const DriveError &error) {
        logCaught(error);
        return std::nullopt;
    }
}

bool DriveManager::removeFolder()
{
    const std::shared_ptr<CloudDrive> current = drive();
    if (!current) {
        logError(QStringLiteral("Can't remove folder w/o drive"), QStringLiteral(__FILE__),
                 QStringLiteral("removeFolder()"));
        return false;
    }
    try {
        current->removeDirectory(RootRelativePath::root());
    } catch (const DriveError &error) {
        logCaught(error);
        return false;
    }
    detach();
    return true;
}

void DriveManager::detach()
{
    if (const std::shared_ptr<CloudDrive> current = drive())
        current->setObserver(nullptr);
    setDrive(nullptr);
}

QStringList DriveManager::relayedNames(const QList<RootRelativePath> &paths)
{
    QStringList names;
    for (const RootRelativePath &path : paths) {
        const QString name = path.path();
        // The key-check entry is no item: its rewrite reloads no listing.
        if (ignoredNames.contains(name.toLower()) || name.contains(u'/') ||
            PartialFile::isPartialName(name) || name == TreeKeyCheck::entryName)
            continue;
        names.append(name);
    }
    return names;
}

void DriveManager::cloudDrive(CloudDrive &, const QList<RootRelativePath> &didChangeItemsAt)
{
    const QStringList names = relayedNames(didChangeItemsAt);
    if (names.isEmpty())
        return;
    // Already off the main thread: the drive's watcher thread posts the notification itself.
    Q_EMIT DriveNotificationCenter::shared().driveDidChange(UpdateEvent{m_location, m_rootPath, names});
}
