#include "CloudDrive.h"

#include "AppPaths.h"
#include "CloudDriveError.h"
#include "CloudDriveObserver.h"
#include "FileMonitor.h"
#include "FileSystemError.h"
#include "PartialFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

using Kind = CloudDriveError::Kind;

namespace {
// Signed in: the container exists as a folder (or a link to one).
bool signedIntoCloud()
{
    return QFileInfo(AppPaths::cloudContainer()).isDir();
}

// The container of the identifier; Linux knows only the application's own.
std::optional<QString> ubiquityContainerURL(const std::optional<QString> &identifier)
{
    if (identifier && !identifier->isEmpty())
        return std::nullopt;
    return AppPaths::cloudContainer();
}

QString asFolder(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    return clean.endsWith(u'/') ? clean : clean + u'/';
}
} // namespace

struct CloudDrive::ObserverSlot
{
    std::recursive_mutex mutex;
    CloudDriveObserver *observer = nullptr;
};

CloudDrive::Storage CloudDrive::Storage::iCloudContainer(const std::optional<QString> &containerIdentifier)
{
    Storage storage;
    storage.kind = Kind::iCloudContainer;
    storage.containerIdentifier = containerIdentifier;
    return storage;
}

CloudDrive::Storage CloudDrive::Storage::localDirectory(const QString &rootURL)
{
    Storage storage;
    storage.kind = Kind::localDirectory;
    storage.rootURL = rootURL;
    return storage;
}

CloudDrive::CloudDrive(const Storage &storage, const QString &relativePathToRoot, bool skipCreate)
    : m_storage(storage), m_relativePathToRoot(relativePathToRoot),
      m_observer(std::make_shared<ObserverSlot>())
{
    // Checks the components: the root must stay below its base.
    RootRelativePath(relativePathToRoot).fileURL(QStringLiteral("/"));
    if (storage.kind == Storage::Kind::iCloudContainer) {
        if (!signedIntoCloud())
            throw CloudDriveError(Kind::notSignedIntoCloud);
        const std::optional<QString> container = ubiquityContainerURL(storage.containerIdentifier);
        if (!container)
            throw CloudDriveError(Kind::couldNotAccessUbiquityContainer, *storage.containerIdentifier);
        // The cloud tree is the container's Documents folder, which belongs to the container.
        const QString documents = *container + QStringLiteral("/Documents");
        if (!QFileInfo::exists(documents))
            CoordinatedFileManager::createDirectory(documents, false);
        m_rootDirectory = asFolder(documents + u'/' + relativePathToRoot);
    } else {
        if (!storage.rootURL.startsWith(u'/'))
            throw CloudDriveError(Kind::rootDirectoryURLIsNotDirectory, storage.rootURL);
        m_rootDirectory = asFolder(storage.rootURL + u'/' + relativePathToRoot);
    }
    prepareRoot(skipCreate);

    m_fileMonitor = std::make_unique<FileMonitor>(m_rootDirectory);
    m_fileMonitor->setChangeHandler([this, slot = m_observer](const QList<RootRelativePath> &paths) {
        std::lock_guard lock(slot->mutex);
        if (slot->observer)
            slot->observer->cloudDrive(*this, paths);
    });
    m_fileMonitor->start();
}

CloudDrive::CloudDrive(const std::optional<QString> &ubiquityContainerIdentifier,
                       const QString &relativePathToRootInContainer, bool skipCreate)
    : CloudDrive(Storage::iCloudContainer(ubiquityContainerIdentifier), relativePathToRootInContainer,
                 skipCreate)
{}

CloudDrive::~CloudDrive()
{
    // First, so that no report reaches the observer of a drive being torn down.
    m_fileMonitor.reset();
}

void CloudDrive::prepareRoot(bool skipCreate)
{
    if (skipCreate)
        return;
    // Without the trailing slash, so that a plain file there is seen as one.
    const QString root = QDir::cleanPath(m_rootDirectory);
    const ItemExistence existing = CoordinatedFileManager::fileExists(root);
    if (existing.exists && !existing.isDirectory)
        throw CloudDriveError(Kind::rootDirectoryURLIsNotDirectory, root);
    if (existing.exists)
        return;
    if (QFileInfo(root).isSymLink()) // a link to nowhere
        throw CloudDriveError(Kind::rootDirectoryURLIsNotDirectory, root);
    CoordinatedFileManager::createDirectory(root, true);
}

std::optional<QString> CloudDrive::ubiquityContainerIdentifier() const
{
    return m_storage.kind == Storage::Kind::iCloudContainer ? m_storage.containerIdentifier : std::nullopt;
}

bool CloudDrive::isConnected() const
{
    return m_storage.kind == Storage::Kind::localDirectory || signedIntoCloud();
}

CloudDriveObserver *CloudDrive::observer() const
{
    std::lock_guard lock(m_observer->mutex);
    return m_observer->observer;
}

void CloudDrive::setObserver(CloudDriveObserver *observer)
{
    std::lock_guard lock(m_observer->mutex);
    m_observer->observer = observer;
}

void CloudDrive::checkConnected() const
{
    if (!isConnected())
        throw CloudDriveError(Kind::queriedWhileNotConnected);
}

QString CloudDrive::itemFile(const RootRelativePath &path) const
{
    checkConnected();
    return path.fileURL(m_rootDirectory);
}

QString CloudDrive::itemFolder(const RootRelativePath &path) const
{
    checkConnected();
    return path.directoryURL(m_rootDirectory);
}

bool CloudDrive::fileExists(const RootRelativePath &path) const
{
    const ItemExistence item = CoordinatedFileManager::fileExists(itemFile(path));
    return item.exists && !item.isDirectory;
}

bool CloudDrive::directoryExists(const RootRelativePath &path) const
{
    const ItemExistence item = CoordinatedFileManager::fileExists(itemFolder(path));
    return item.exists && item.isDirectory;
}

QStringList CloudDrive::contentsOfDirectory(const RootRelativePath &path, HiddenFiles hiddenFiles) const
{
    return CoordinatedFileManager::contentsOfDirectory(itemFolder(path), hiddenFiles);
}

QList<DirectoryEntry> CloudDrive::entriesOfDirectory(const RootRelativePath &path,
                                                     HiddenFiles hiddenFiles) const
{
    return CoordinatedFileManager::entriesOfDirectory(itemFolder(path), hiddenFiles);
}

void CloudDrive::createDirectory(const RootRelativePath &path) const
{
    CoordinatedFileManager::createDirectory(itemFolder(path), true);
}

void CloudDrive::removeDirectory(const RootRelativePath &path) const
{
    const QString folder = itemFolder(path);
    const ItemExistence item = CoordinatedFileManager::fileExists(folder);
    if (!item.exists || !item.isDirectory)
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("no folder '%1'").arg(path.path()));
    CoordinatedFileManager::removeItem(folder);
}

void CloudDrive::removeFile(const RootRelativePath &path) const
{
    const QString file = itemFile(path);
    const ItemExistence item = CoordinatedFileManager::fileExists(file);
    if (!item.exists || item.isDirectory)
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("no file '%1'").arg(path.path()));
    CoordinatedFileManager::removeItem(file);
}

void CloudDrive::removeListedFile(const QByteArray &nativePath) const
{
    checkConnected();
    const QByteArray root = QFile::encodeName(m_rootDirectory);
    const QByteArray name = nativePath.startsWith(root) ? nativePath.mid(root.size()) : QByteArray();
    struct stat status
    {
    };
    if (name.isEmpty() || name == "." || name == ".." || name.contains('/') || name.contains('\0') ||
        ::stat(nativePath.constData(), &status) != 0 || S_ISDIR(status.st_mode))
        throw CloudDriveError(Kind::invalidFileType,
                              QStringLiteral("no file '%1'").arg(QFile::decodeName(name)));
    if (::unlink(nativePath.constData()) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not remove"), QFile::decodeName(nativePath));
}

QByteArray CloudDrive::readFile(const RootRelativePath &path) const
{
    return CoordinatedFileManager::contentsOfFile(itemFile(path));
}

void CloudDrive::readFile(const RootRelativePath &path,
                          const CoordinatedFileManager::AccessBlock &block) const
{
    CoordinatedFileManager::readFile(itemFile(path), block);
}

void CloudDrive::updateFile(const RootRelativePath &path,
                            const CoordinatedFileManager::AccessBlock &block) const
{
    CoordinatedFileManager::updateFile(itemFile(path), block);
}

void CloudDrive::writeFile(const QByteArray &data, const RootRelativePath &path) const
{
    CoordinatedFileManager::write(data, itemFile(path));
}

void CloudDrive::copy(const RootRelativePath &from, const RootRelativePath &to) const
{
    const QString source = itemFile(from);
    CoordinatedFileManager::copyItem(source, itemFile(to));
}

void CloudDrive::upload(const QString &sourcePath, const RootRelativePath &to) const
{
    checkConnected();
    const QString name = QFileInfo(QDir::cleanPath(sourcePath)).fileName();
    if (name.isEmpty() || sourcePath.isEmpty())
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("source '%1'").arg(sourcePath));
    CoordinatedFileManager::copyItem(sourcePath, targetURL(name, to));
}

void CloudDrive::download(const RootRelativePath &from, const QString &targetPath) const
{
    CoordinatedFileManager::copyItem(itemFile(from), targetPath);
}

void CloudDrive::checkFileName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed == QStringLiteral(".") || trimmed == QStringLiteral("..") ||
        trimmed.contains(u'/') || trimmed.contains(QChar()))
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("name '%1'").arg(trimmed));
}

QString CloudDrive::targetURL(const QString &name, const RootRelativePath &folder) const
{
    checkFileName(name);
    return folder.directoryURL(m_rootDirectory) + name.trimmed();
}

int CloudDrive::removeLeftoverPartials(const RootRelativePath &folder) const
{
    return PartialFile::removeLeftovers(itemFolder(folder));
}
