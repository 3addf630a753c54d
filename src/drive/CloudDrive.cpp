#include "drive/CloudDrive.h"

#include "core/AppPaths.h"
#include "drive/CloudDriveError.h"
#include "drive/CloudDriveObserver.h"
#include "drive/FileMonitor.h"
#include "drive/FileSystemError.h"
#include "drive/PartialFile.h"
#include "drive/TreeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
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

[[noreturn]] void throwExists(const QString &path)
{
    errno = EEXIST;
    throw FileSystemError::fromErrno(QStringLiteral("Could not copy onto"), path);
}

void copyInto(const UniqueFd &source, PartialFile &target, const QString &sourcePath)
{
    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    for (;;) {
        const ssize_t count = ::read(source.get(), buffer.data(), size_t(buffer.size()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw FileSystemError::fromErrno(QStringLiteral("Could not read"), sourcePath);
        if (count == 0)
            return;
        target.write(QByteArray::fromRawData(buffer.constData(), count));
    }
}
} // namespace

struct CloudDrive::ObserverSlot
{
    std::recursive_mutex mutex;
    CloudDriveObserver *observer = nullptr;
};

CloudDrive::Storage CloudDrive::Storage::cloudContainer(const std::optional<QString> &containerIdentifier)
{
    Storage storage;
    storage.kind = Kind::cloudContainer;
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
    if (storage.kind == Storage::Kind::cloudContainer) {
        if (!signedIntoCloud())
            throw CloudDriveError(Kind::notSignedIntoCloud);
        const std::optional<QString> container = ubiquityContainerURL(storage.containerIdentifier);
        if (!container)
            throw CloudDriveError(Kind::couldNotAccessUbiquityContainer, *storage.containerIdentifier);
        // The cloud tree is the container's Documents folder, which belongs to the container.
        const QString documents = *container + QStringLiteral("/Documents");
        if (!QFileInfo::exists(documents))
            CoordinatedFileManager::createDirectory(documents, false);
        m_baseDirectory = documents;
        m_rootDirectory = asFolder(documents + u'/' + relativePathToRoot);
    } else {
        if (!storage.rootURL.startsWith(u'/'))
            throw CloudDriveError(Kind::rootDirectoryURLIsNotDirectory, storage.rootURL);
        m_baseDirectory = storage.rootURL;
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
    : CloudDrive(Storage::cloudContainer(ubiquityContainerIdentifier), relativePathToRootInContainer,
                 skipCreate)
{}

CloudDrive::~CloudDrive()
{
    // First, so that no report reaches the observer of a drive being torn down.
    m_fileMonitor.reset();
}

void CloudDrive::prepareRoot(bool skipCreate)
{
    m_base = QFile::encodeName(QDir::cleanPath(m_baseDirectory));
    m_rootComponents = TreeFolder::componentsOf(m_relativePathToRoot);
    if (skipCreate)
        return;
    const QString root = QDir::cleanPath(m_rootDirectory);
    if (!QFileInfo::exists(m_baseDirectory) && !QFileInfo(m_baseDirectory).isSymLink())
        CoordinatedFileManager::createDirectory(m_baseDirectory, true);
    // Folders only, by lstat(): a file, a link or anything else in the way is not the folder asked
    // for. Making an empty folder needs no descriptor, so that a drive opens even where none is left.
    QByteArray path = m_base;
    for (qsizetype i = -1; i < m_rootComponents.size(); ++i) {
        if (i >= 0)
            path += '/' + m_rootComponents.at(i);
        struct stat status
        {
        };
        const bool missing = ::lstat(path.constData(), &status) != 0 && errno == ENOENT;
        if (missing && i >= 0 && ::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
            throw FileSystemError::fromErrno(QStringLiteral("Could not create the folder"),
                                             QFile::decodeName(path));
        if (::lstat(path.constData(), &status) != 0)
            throw FileSystemError::fromErrno(QStringLiteral("Could not create the folder"),
                                             QFile::decodeName(path));
        if (!S_ISDIR(status.st_mode))
            throw CloudDriveError(Kind::rootDirectoryURLIsNotDirectory, root);
    }
}

std::optional<QString> CloudDrive::ubiquityContainerIdentifier() const
{
    return m_storage.kind == Storage::Kind::cloudContainer ? m_storage.containerIdentifier : std::nullopt;
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

TreeFolder CloudDrive::rootFolder() const
{
    checkConnected();
    return TreeFolder::open(m_base, m_rootComponents);
}

TreeFolder CloudDrive::folderAt(const RootRelativePath &path) const
{
    itemFile(path); // refuses "." and ".."
    TreeFolder folder = rootFolder();
    for (const QByteArray &component : TreeFolder::componentsOf(path.path()))
        folder = folder.folder(component);
    return folder;
}

std::pair<TreeFolder, QByteArray> CloudDrive::entryAt(const RootRelativePath &path) const
{
    itemFile(path);
    QByteArrayList components = TreeFolder::componentsOf(path.path());
    if (components.isEmpty()) {
        // The root itself, as an entry of its parent folder.
        if (m_rootComponents.isEmpty())
            throw CloudDriveError(Kind::invalidFileType, QStringLiteral("the tree itself"));
        checkConnected();
        QByteArrayList parent = m_rootComponents;
        const QByteArray name = parent.takeLast();
        return {TreeFolder::open(m_base, parent), name};
    }
    const QByteArray name = components.takeLast();
    TreeFolder folder = rootFolder();
    for (const QByteArray &component : std::as_const(components))
        folder = folder.folder(component);
    return {std::move(folder), name};
}

std::optional<struct stat> CloudDrive::statusOf(const RootRelativePath &path) const
{
    try {
        const auto [folder, name] = entryAt(path);
        return folder.status(name);
    } catch (const FileSystemError &) {
        return std::nullopt; // a folder on the way is missing, or not a folder
    }
}

bool CloudDrive::fileExists(const RootRelativePath &path) const
{
    const std::optional<struct stat> item = statusOf(path);
    return item && S_ISREG(item->st_mode);
}

bool CloudDrive::directoryExists(const RootRelativePath &path) const
{
    if (TreeFolder::componentsOf(path.path()).isEmpty()) {
        try {
            rootFolder();
            return true;
        } catch (const FileSystemError &) {
            return false;
        }
    }
    const std::optional<struct stat> item = statusOf(path);
    return item && S_ISDIR(item->st_mode);
}

QStringList CloudDrive::contentsOfDirectory(const RootRelativePath &path, HiddenFiles hiddenFiles) const
{
    QStringList paths;
    for (const DirectoryEntry &entry : entriesOfDirectory(path, hiddenFiles))
        paths.append(entry.path);
    return paths;
}

QList<DirectoryEntry> CloudDrive::entriesOfDirectory(const RootRelativePath &path,
                                                     HiddenFiles hiddenFiles) const
{
    return folderAt(path).entries(hiddenFiles);
}

void CloudDrive::createDirectory(const RootRelativePath &path) const
{
    itemFile(path);
    TreeFolder folder = rootFolder();
    for (const QByteArray &component : TreeFolder::componentsOf(path.path()))
        folder = folder.makeFolder(component);
}

void CloudDrive::removeDirectory(const RootRelativePath &path) const
{
    const auto [folder, name] = entryAt(path);
    const std::optional<struct stat> item = folder.status(name);
    if (!item || !S_ISDIR(item->st_mode))
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("no folder '%1'").arg(path.path()));
    folder.remove(name);
}

void CloudDrive::removeFile(const RootRelativePath &path) const
{
    if (TreeFolder::componentsOf(path.path()).isEmpty())
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("no file '%1'").arg(path.path()));
    std::optional<std::pair<TreeFolder, QByteArray>> entry;
    try {
        entry.emplace(entryAt(path));
    } catch (const FileSystemError &) {
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("no file '%1'").arg(path.path()));
    }
    // A link or special file is an entry of its own: unlinked, its target untouched.
    const std::optional<struct stat> item = entry->first.status(entry->second);
    if (!item || S_ISDIR(item->st_mode))
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("no file '%1'").arg(path.path()));
    entry->first.remove(entry->second);
}

void CloudDrive::removeListedFile(const QByteArray &nativePath) const
{
    checkConnected();
    const QByteArray name = listedName(nativePath);
    const TreeFolder root = rootFolder();
    const std::optional<struct stat> item = root.status(name);
    if (!item || S_ISDIR(item->st_mode))
        throw CloudDriveError(Kind::invalidFileType,
                              QStringLiteral("no file '%1'").arg(QFile::decodeName(name)));
    root.remove(name);
}

QByteArray CloudDrive::readListedFile(const QByteArray &nativePath, qint64 maxBytes) const
{
    checkConnected();
    return rootFolder().readFile(listedName(nativePath), maxBytes);
}

QByteArray CloudDrive::listedName(const QByteArray &nativePath) const
{
    const QByteArray root = QFile::encodeName(m_rootDirectory);
    const QByteArray name = nativePath.startsWith(root) ? nativePath.mid(root.size()) : QByteArray();
    if (name.isEmpty() || name == "." || name == ".." || name.contains('/') || name.contains('\0'))
        throw CloudDriveError(Kind::invalidFileType,
                              QStringLiteral("no file '%1'").arg(QFile::decodeName(name)));
    return name;
}

QByteArray CloudDrive::readFile(const RootRelativePath &path) const
{
    const auto [folder, name] = entryAt(path);
    return folder.readFile(name, wholeFileLimit);
}

void CloudDrive::readFile(const RootRelativePath &path,
                          const CoordinatedFileManager::AccessBlock &block) const
{
    // The block opens the path itself: it gets one only for a regular file reached without links.
    const auto [folder, name] = entryAt(path);
    folder.openFile(name);
    CoordinatedFileManager::readFile(QFile::decodeName(folder.pathOf(name)), block);
}

void CloudDrive::updateFile(const RootRelativePath &path,
                            const CoordinatedFileManager::AccessBlock &block) const
{
    const auto [folder, name] = entryAt(path);
    const std::optional<struct stat> item = folder.status(name);
    if (item && !S_ISREG(item->st_mode)) {
        errno = EINVAL;
        throw FileSystemError::fromErrno(QStringLiteral("Not a regular file:"), itemFile(path));
    }
    CoordinatedFileManager::updateFile(QFile::decodeName(folder.pathOf(name)), block);
}

void CloudDrive::writeFile(const QByteArray &data, const RootRelativePath &path) const
{
    const auto [folder, name] = entryAt(path);
    PartialFile partial(folder, QFile::decodeName(name));
    partial.write(data);
    partial.commit();
}

std::unique_ptr<PartialFile> CloudDrive::newFile(const QString &name, const RootRelativePath &folder) const
{
    checkFileName(name);
    return std::make_unique<PartialFile>(folderAt(folder), name.trimmed());
}

void CloudDrive::copy(const RootRelativePath &from, const RootRelativePath &to) const
{
    const auto [sourceFolder, sourceName] = entryAt(from);
    const UniqueFd source = sourceFolder.openFile(sourceName);
    const auto [targetFolder, targetName] = entryAt(to);
    PartialFile target(targetFolder, QFile::decodeName(targetName));
    copyInto(source, target, itemFile(from));
    if (!target.commitAs(QFile::decodeName(targetName)))
        throwExists(itemFile(to));
}

void CloudDrive::upload(const QString &sourcePath, const RootRelativePath &to) const
{
    checkConnected();
    const QString name = QFileInfo(QDir::cleanPath(sourcePath)).fileName();
    if (name.isEmpty() || sourcePath.isEmpty())
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("source '%1'").arg(sourcePath));
    const QString target = targetURL(name, to);
    // The source lies outside the trees, where the person's own links lead where they mean.
    UniqueFd source(
        ::open(QFile::encodeName(sourcePath).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status
    {
    };
    if (!source.isValid() || ::fstat(source.get(), &status) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not open"), sourcePath);
    if (!S_ISREG(status.st_mode))
        throw CloudDriveError(Kind::invalidFileType, QStringLiteral("source '%1'").arg(sourcePath));
    ::fcntl(source.get(), F_SETFL, ::fcntl(source.get(), F_GETFL) & ~O_NONBLOCK);
    std::unique_ptr<PartialFile> partial = newFile(name, to);
    copyInto(source, *partial, sourcePath);
    if (!partial->commitAs(name.trimmed()))
        throwExists(target);
}

void CloudDrive::download(const RootRelativePath &from, const QString &targetPath) const
{
    const auto [folder, name] = entryAt(from);
    const UniqueFd source = folder.openFile(name);
    PartialFile target(targetPath);
    copyInto(source, target, itemFile(from));
    if (!target.commitAs(QFileInfo(targetPath).fileName()))
        throwExists(targetPath);
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
    return PartialFile::removeLeftovers(folderAt(folder));
}
