#include "drive/CoordinatedFileManager.h"

#include "core/UniqueFd.h"
#include "drive/FileSystemError.h"
#include "drive/PartialFile.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

bool occupied(const QString &path)
{
    struct stat status
    {
    };
    return ::lstat(QFile::encodeName(withoutTrailingSlash(path)).constData(), &status) == 0;
}

void makeOneDirectory(const QString &path, bool existingIsFine)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0)
        return;
    const int error = errno;
    if (error == EEXIST && existingIsFine && CoordinatedFileManager::fileExists(path).isDirectory)
        return;
    errno = error;
    throw FileSystemError::fromErrno(QStringLiteral("Could not create the folder"), path);
}

// The kind the directory read reports; a file system that reports none gets one lstat().
DirectoryEntry::Kind kindOf(const dirent &entry, int folder)
{
    unsigned char type = entry.d_type;
    if (type == DT_UNKNOWN) {
        struct stat status
        {
        };
        if (::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return DirectoryEntry::Kind::other;
        type = S_ISREG(status.st_mode) ? DT_REG : S_ISDIR(status.st_mode) ? DT_DIR : DT_LNK;
    }
    return type == DT_REG   ? DirectoryEntry::Kind::file
           : type == DT_DIR ? DirectoryEntry::Kind::directory
                            : DirectoryEntry::Kind::other;
}

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};
} // namespace

ItemExistence CoordinatedFileManager::fileExists(const QString &path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {true, S_ISDIR(status.st_mode)};
}

void CoordinatedFileManager::createDirectory(const QString &path, bool withIntermediateDirectories)
{
    const QString target = withoutTrailingSlash(path);
    if (!withIntermediateDirectories) {
        makeOneDirectory(target, false);
        return;
    }
    qsizetype slash = 0;
    while ((slash = target.indexOf(u'/', slash + 1)) > 0)
        makeOneDirectory(target.left(slash), true);
    makeOneDirectory(target, true);
}

void CoordinatedFileManager::removeItem(const QString &path)
{
    const QString target = withoutTrailingSlash(path);
    if (!occupied(target)) {
        errno = ENOENT;
        throw FileSystemError::fromErrno(QStringLiteral("Could not remove"), target);
    }
    std::error_code error;
    std::filesystem::remove_all(nativePath(target), error);
    if (error)
        throw FileSystemError(error, QStringLiteral("Could not remove"), target);
}

void CoordinatedFileManager::copyItem(const QString &from, const QString &to)
{
    if (occupied(to)) {
        errno = EEXIST;
        throw FileSystemError::fromErrno(QStringLiteral("Could not copy onto"), to);
    }
    std::error_code error;
    std::filesystem::copy(
        nativePath(withoutTrailingSlash(from)), nativePath(withoutTrailingSlash(to)),
        std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks, error);
    if (error)
        throw FileSystemError(error, QStringLiteral("Could not copy"), from);
}

QStringList CoordinatedFileManager::contentsOfDirectory(const QString &path, HiddenFiles hiddenFiles)
{
    QStringList paths;
    for (const DirectoryEntry &entry : entriesOfDirectory(path, hiddenFiles))
        paths.append(entry.path);
    return paths;
}

QList<DirectoryEntry> CoordinatedFileManager::entriesOfDirectory(const QString &path, HiddenFiles hiddenFiles)
{
    const QString folder = withoutTrailingSlash(path);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(QFile::encodeName(folder).constData()));
    if (!dir)
        throw FileSystemError::fromErrno(QStringLiteral("Could not list"), folder);
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    const QByteArray nativePrefix = QFile::encodeName(prefix);
    QList<DirectoryEntry> entries;
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        const QByteArray nativeName(entry->d_name);
        const QString name = QFile::decodeName(nativeName);
        const bool hidden = name.startsWith(u'.');
        if (name == QStringLiteral(".") || name == QStringLiteral("..") ||
            (hidden && hiddenFiles == HiddenFiles::skip))
            continue;
        entries.append({prefix + name, kindOf(*entry, dirfd(dir.get())), nativePrefix + nativeName});
        errno = 0;
    }
    if (errno != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not list"), folder);
    return entries;
}

QByteArray CoordinatedFileManager::contentsOfFile(const QString &path)
{
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.isValid())
        throw FileSystemError::fromErrno(QStringLiteral("Could not open"), path);
    QByteArray contents;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw FileSystemError::fromErrno(QStringLiteral("Could not read"), path);
        if (count == 0)
            return contents;
        contents.append(buffer, count);
    }
}

void CoordinatedFileManager::write(const QByteArray &data, const QString &path)
{
    PartialFile partial(path);
    partial.write(data);
    partial.commit();
}

void CoordinatedFileManager::updateFile(const QString &path, const AccessBlock &block)
{
    block(path);
}

void CoordinatedFileManager::readFile(const QString &path, const AccessBlock &block)
{
    block(path);
}
