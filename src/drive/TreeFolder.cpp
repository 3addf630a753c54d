#include "drive/TreeFolder.h"

#include "drive/FileSystemError.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {
constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

QString shown(const QByteArray &path)
{
    return QFile::decodeName(path);
}

[[noreturn]] void fail(const QString &operation, const QByteArray &path)
{
    throw FileSystemError::fromErrno(operation, shown(path));
}

[[noreturn]] void fail(int error, const QString &operation, const QByteArray &path)
{
    errno = error;
    fail(operation, path);
}

bool isNameOfOneEntry(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') && !name.contains('\0');
}

void checkName(const QByteArray &name, const QByteArray &folder)
{
    if (!isNameOfOneEntry(name))
        fail(EINVAL, QStringLiteral("Refused the name"), folder + '/' + name);
}

// A link where a folder should be reads as "not a folder", whichever the kernel says.
UniqueFd openFolderAt(int parent, const QByteArray &name)
{
    UniqueFd fd(::openat(parent, name.constData(), folderFlags));
    if (!fd.isValid() && errno == ELOOP)
        errno = ENOTDIR;
    return fd;
}

DirectoryEntry::Kind kindOf(mode_t mode)
{
    return S_ISREG(mode)   ? DirectoryEntry::Kind::file
           : S_ISDIR(mode) ? DirectoryEntry::Kind::directory
                           : DirectoryEntry::Kind::other;
}

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};
} // namespace

TreeFolder TreeFolder::open(const QByteArray &base, const QByteArrayList &components)
{
    QByteArray path = base;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    UniqueFd fd(::open(path.constData(), folderFlags));
    if (!fd.isValid() && errno == ELOOP)
        errno = ENOTDIR;
    if (!fd.isValid())
        fail(QStringLiteral("Could not open the folder"), path);
    TreeFolder folder(std::move(fd), path);
    for (const QByteArray &component : components)
        folder = folder.folder(component);
    return folder;
}

QByteArrayList TreeFolder::componentsOf(const QString &relativePath)
{
    QByteArrayList components;
    for (const QByteArray &part : QFile::encodeName(relativePath).split('/')) {
        if (!part.isEmpty())
            components.append(part);
    }
    return components;
}

QByteArray TreeFolder::pathOf(const QByteArray &name) const
{
    return m_path == "/" ? QByteArray(m_path + name) : QByteArray(m_path + '/' + name);
}

std::optional<struct stat> TreeFolder::status(const QByteArray &name) const
{
    checkName(name, m_path);
    struct stat status
    {
    };
    if (::fstatat(fd(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0)
        return status;
    if (errno == ENOENT)
        return std::nullopt;
    fail(QStringLiteral("Could not read the attributes of"), pathOf(name));
}

TreeFolder TreeFolder::folder(const QByteArray &name) const
{
    checkName(name, m_path);
    UniqueFd child = openFolderAt(fd(), name);
    if (!child.isValid())
        fail(QStringLiteral("Could not open the folder"), pathOf(name));
    return TreeFolder(std::move(child), pathOf(name));
}

TreeFolder TreeFolder::makeFolder(const QByteArray &name) const
{
    checkName(name, m_path);
    if (::mkdirat(fd(), name.constData(), 0700) != 0 && errno != EEXIST)
        fail(QStringLiteral("Could not create the folder"), pathOf(name));
    return folder(name);
}

UniqueFd TreeFolder::openFile(const QByteArray &name) const
{
    checkName(name, m_path);
    // Non-blocking and without a controlling terminal: opening a FIFO or a device must neither
    // wait for a writer nor do anything to the device before the check below refuses it.
    UniqueFd file(
        ::openat(fd(), name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isValid())
        fail(QStringLiteral("Could not open"), pathOf(name));
    struct stat status
    {
    };
    if (::fstat(file.get(), &status) != 0)
        fail(QStringLiteral("Could not read the attributes of"), pathOf(name));
    if (!S_ISREG(status.st_mode))
        fail(S_ISDIR(status.st_mode) ? EISDIR : EINVAL, QStringLiteral("Not a regular file:"), pathOf(name));
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return file;
}

QByteArray TreeFolder::readFile(const QByteArray &name, qint64 maxBytes) const
{
    const UniqueFd file = openFile(name);
    QByteArray contents;
    char buffer[64 * 1024];
    while (contents.size() <= maxBytes) {
        const qint64 wanted = qMin<qint64>(qint64(sizeof buffer), maxBytes + 1 - contents.size());
        const ssize_t count = ::read(file.get(), buffer, size_t(wanted));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            fail(QStringLiteral("Could not read"), pathOf(name));
        if (count == 0)
            break;
        contents.append(buffer, count);
    }
    return contents;
}

void TreeFolder::remove(const QByteArray &name) const
{
    const std::optional<struct stat> entry = status(name);
    if (!entry)
        fail(ENOENT, QStringLiteral("Could not remove"), pathOf(name));
    if (!S_ISDIR(entry->st_mode)) {
        if (::unlinkat(fd(), name.constData(), 0) != 0)
            fail(QStringLiteral("Could not remove"), pathOf(name));
        return;
    }
    // A folder swapped for a link meanwhile fails to open here rather than being followed.
    folder(name).removeContents();
    if (::unlinkat(fd(), name.constData(), AT_REMOVEDIR) != 0)
        fail(QStringLiteral("Could not remove"), pathOf(name));
}

void TreeFolder::removeContents() const
{
    for (const DirectoryEntry &entry : entries(HiddenFiles::include)) {
        const QByteArray name = entry.nativePath.mid(entry.nativePath.lastIndexOf('/') + 1);
        remove(name);
    }
}

QList<DirectoryEntry> TreeFolder::entries(HiddenFiles hiddenFiles) const
{
    // A descriptor of its own: closedir() closes the one it is given.
    UniqueFd listing(::openat(fd(), ".", folderFlags));
    if (!listing.isValid())
        fail(QStringLiteral("Could not list"), m_path);
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(listing.get()));
    if (!dir)
        fail(QStringLiteral("Could not list"), m_path);
    listing.release();
    const QByteArray prefix = m_path == "/" ? m_path : m_path + '/';
    const QString shownPrefix = shown(prefix);
    QList<DirectoryEntry> entries;
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == ".." || (name.startsWith('.') && hiddenFiles == HiddenFiles::skip)) {
            errno = 0;
            continue;
        }
        DirectoryEntry::Kind kind = entry->d_type == DT_REG   ? DirectoryEntry::Kind::file
                                    : entry->d_type == DT_DIR ? DirectoryEntry::Kind::directory
                                                              : DirectoryEntry::Kind::other;
        // Some file systems report no types: one lstat() then.
        if (entry->d_type == DT_UNKNOWN) {
            struct stat status
            {
            };
            kind = ::fstatat(fd(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0
                       ? kindOf(status.st_mode)
                       : DirectoryEntry::Kind::other;
        }
        entries.append({shownPrefix + shown(name), kind, prefix + name});
        errno = 0;
    }
    if (errno != 0)
        fail(QStringLiteral("Could not list"), m_path);
    return entries;
}
