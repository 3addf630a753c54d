#include "drive/PartialFile.h"

#include "drive/FileSystemError.h"
#include "drive/TreeFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString folderOf(const QString &path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf(u'/');
    return slash > 0 ? trimmed.left(slash) : (slash == 0 ? QStringLiteral("/") : QStringLiteral("."));
}

QString nameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString randomSuffix()
{
    return QString::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, u'0');
}

// vfat and exfat answer a hard link with EPERM, some FUSE file systems with ENOSYS or ENOTSUP.
bool noHardLinks(int error)
{
    return error == EPERM || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK;
}
} // namespace

PartialFile::PartialFile(const QString &targetPath)
    : m_folder(
          ::open(QFile::encodeName(folderOf(targetPath)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      m_folderPath(folderOf(targetPath)), m_name(nameOf(targetPath))
{
    if (!m_folder.isValid())
        throw FileSystemError::fromErrno(QStringLiteral("Could not create a file in"), m_folderPath);
    create();
}

PartialFile::PartialFile(const TreeFolder &folder, const QString &name)
    : m_folder(::fcntl(folder.fd(), F_DUPFD_CLOEXEC, 0)), m_folderPath(QFile::decodeName(folder.path())),
      m_name(name)
{
    if (!m_folder.isValid())
        throw FileSystemError::fromErrno(QStringLiteral("Could not create a file in"), m_folderPath);
    create();
}

void PartialFile::create()
{
    // Unnamed until complete: an interrupted write leaves nothing behind, not even a hidden file.
    m_fd = UniqueFd::unnamedFileIn(m_folder.get());
    if (m_fd.isValid())
        return;
    // Where the file system has no unnamed files: a hidden sibling, locked while it is written.
    for (int attempt = 0; attempt < 8 && !m_fd.isValid(); ++attempt) {
        m_hiddenName = namePrefix + randomSuffix();
        m_path = m_folderPath + u'/' + m_hiddenName;
        // Registered before it exists, so that no moment leaves it behind.
        m_cleanup = std::make_unique<InterruptCleanup>(m_path);
        m_fd = UniqueFd(::openat(m_folder.get(), QFile::encodeName(m_hiddenName).constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!m_fd.isValid() && errno != EEXIST)
            throw FileSystemError::fromErrno(QStringLiteral("Could not create a file in"), m_folderPath);
    }
    if (!m_fd.isValid())
        throw FileSystemError(std::make_error_code(std::errc::file_exists),
                              QStringLiteral("Could not create a file in"), m_folderPath);
    // Named a moment before it is locked: the age rule of removeLeftovers() covers that moment.
    ::flock(m_fd.get(), LOCK_EX | LOCK_NB);
}

PartialFile::~PartialFile()
{
    if (!m_committed && !m_hiddenName.isEmpty())
        ::unlinkat(m_folder.get(), QFile::encodeName(m_hiddenName).constData(), 0);
}

void PartialFile::giveName()
{
    for (int attempt = 0; attempt < 8 && m_hiddenName.isEmpty(); ++attempt) {
        const QString name = namePrefix + randomSuffix();
        m_cleanup = std::make_unique<InterruptCleanup>(m_folderPath + u'/' + name);
        if (m_fd.linkAt(m_folder.get(), QFile::encodeName(name))) {
            m_hiddenName = name;
            m_path = m_folderPath + u'/' + name;
        } else if (errno != EEXIST) {
            throw FileSystemError::fromErrno(QStringLiteral("Could not save"), targetPath());
        }
    }
    if (m_hiddenName.isEmpty())
        throw FileSystemError(std::make_error_code(std::errc::file_exists), QStringLiteral("Could not save"),
                              targetPath());
}

void PartialFile::write(const QByteArray &data)
{
    const char *cursor = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd.get(), cursor, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw FileSystemError::fromErrno(QStringLiteral("Could not write"), targetPath());
        cursor += written;
        left -= written;
    }
}

void PartialFile::flush()
{
    if (::fsync(m_fd.get()) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not write"), targetPath());
}

void PartialFile::commit()
{
    flush();
    if (m_hiddenName.isEmpty())
        giveName(); // complete now: linked under a hidden name, then renamed into place
    if (::renameat(m_folder.get(), QFile::encodeName(m_hiddenName).constData(), m_folder.get(),
                   QFile::encodeName(m_name).constData()) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not save"), targetPath());
    committed();
}

bool PartialFile::commitAs(const QString &name)
{
    m_name = name;
    const QByteArray target = QFile::encodeName(name);
    if (!m_synced) {
        flush();
        m_synced = true;
    }
    if (m_hiddenName.isEmpty()) {
        if (!m_fd.linkAt(m_folder.get(), target)) {
            if (errno == EEXIST)
                return false;
            throw FileSystemError::fromErrno(QStringLiteral("Could not save"), targetPath());
        }
        committed();
        return true;
    }
    const QByteArray hidden = QFile::encodeName(m_hiddenName);
    if (::linkat(m_folder.get(), hidden.constData(), m_folder.get(), target.constData(), 0) == 0) {
        ::unlinkat(m_folder.get(), hidden.constData(), 0);
        committed();
        return true;
    }
    if (errno == EEXIST)
        return false;
    if (!noHardLinks(errno))
        throw FileSystemError::fromErrno(QStringLiteral("Could not save"), targetPath());
    if (::renameat2(m_folder.get(), hidden.constData(), m_folder.get(), target.constData(),
                    RENAME_NOREPLACE) == 0) {
        committed();
        return true;
    }
    if (errno == EEXIST)
        return false;
    throw FileSystemError::fromErrno(QStringLiteral("Could not save"), targetPath());
}

void PartialFile::committed()
{
    m_committed = true;
    m_cleanup.reset();
    // Makes sure the new name itself survives a power cut.
    ::fsync(m_folder.get());
    m_fd.close();
}

bool PartialFile::isPartialName(const QString &fileName)
{
    if (fileName.startsWith(namePrefix))
        return true;
    // Before it is linked, an unnamed file is reported as "#<inode>" (when its writer closes it).
    return fileName.size() > 1 && fileName.startsWith(u'#') &&
           std::all_of(fileName.cbegin() + 1, fileName.cend(), [](QChar c) { return c.isDigit(); });
}

int PartialFile::removeLeftovers(const QString &folderPath, std::chrono::seconds minimumAge)
{
    try {
        return removeLeftovers(TreeFolder::open(QFile::encodeName(folderPath)), minimumAge);
    } catch (const FileSystemError &) {
        return 0;
    }
}

int PartialFile::removeLeftovers(const TreeFolder &folder, std::chrono::seconds minimumAge)
{
    const qint64 newest = QDateTime::currentSecsSinceEpoch() - minimumAge.count();
    const QByteArray prefix = QFile::encodeName(namePrefix);
    int removed = 0;
    for (const DirectoryEntry &entry : folder.entries(HiddenFiles::include)) {
        const QByteArray name = entry.nativePath.mid(entry.nativePath.lastIndexOf('/') + 1);
        if (entry.kind != DirectoryEntry::Kind::file || !name.startsWith(prefix))
            continue;
        UniqueFd fd;
        try {
            fd = folder.openFile(name);
        } catch (const FileSystemError &) {
            continue;
        }
        struct stat status
        {
        };
        if (::fstat(fd.get(), &status) != 0)
            continue;
        // A recent one may still be on its way: its writer between creating and locking it, or a
        // sync client copying it from another machine.
        if (status.st_mtime > newest)
            continue;
        // A writer that is still alive holds the lock.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::unlinkat(folder.fd(), name.constData(), 0) == 0)
            ++removed;
    }
    return removed;
}
