#include "PartialFile.h"

#include "FileSystemError.h"

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

QString randomSuffix()
{
    return QString::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, u'0');
}

// Makes sure the rename itself survives a power cut.
void syncFolder(const QString &folder)
{
    UniqueFd fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isValid())
        ::fsync(fd.get());
}
} // namespace

PartialFile::PartialFile(const QString &targetPath) : m_targetPath(targetPath)
{
    const QString folder = folderOf(targetPath);
    // Unnamed until complete: an interrupted write leaves nothing behind, not even a hidden file.
    m_fd = UniqueFd::unnamedFile(QFile::encodeName(folder));
    if (m_fd.isValid())
        return;
    // Where the file system has no unnamed files: a hidden sibling, locked while it is written.
    for (int attempt = 0; attempt < 8 && !m_fd.isValid(); ++attempt) {
        m_path = folder + u'/' + namePrefix + randomSuffix();
        // Registered before it exists, so that no moment leaves it behind.
        m_cleanup = std::make_unique<InterruptCleanup>(m_path);
        m_fd = UniqueFd(::open(QFile::encodeName(m_path).constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!m_fd.isValid() && errno != EEXIST)
            throw FileSystemError::fromErrno(QStringLiteral("Could not create a file in"), folder);
    }
    if (!m_fd.isValid())
        throw FileSystemError(std::make_error_code(std::errc::file_exists),
                              QStringLiteral("Could not create a file in"), folder);
    // Named a moment before it is locked: the age rule of removeLeftovers() covers that moment.
    ::flock(m_fd.get(), LOCK_EX | LOCK_NB);
}

PartialFile::~PartialFile()
{
    if (!m_committed && !m_path.isEmpty())
        ::unlink(QFile::encodeName(m_path).constData());
}

void PartialFile::giveName()
{
    const QString folder = folderOf(m_targetPath);
    for (int attempt = 0; attempt < 8 && m_path.isEmpty(); ++attempt) {
        const QString path = folder + u'/' + namePrefix + randomSuffix();
        m_cleanup = std::make_unique<InterruptCleanup>(path);
        if (m_fd.linkAs(QFile::encodeName(path)))
            m_path = path;
        else if (errno != EEXIST)
            throw FileSystemError::fromErrno(QStringLiteral("Could not save"), m_targetPath);
    }
    if (m_path.isEmpty())
        throw FileSystemError(std::make_error_code(std::errc::file_exists), QStringLiteral("Could not save"),
                              m_targetPath);
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
            throw FileSystemError::fromErrno(QStringLiteral("Could not write"), m_targetPath);
        cursor += written;
        left -= written;
    }
}

void PartialFile::commit()
{
    if (::fsync(m_fd.get()) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not write"), m_targetPath);
    if (m_path.isEmpty())
        giveName(); // complete now: linked under a hidden name, then renamed into place
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_targetPath).constData()) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not save"), m_targetPath);
    m_committed = true;
    m_cleanup.reset();
    syncFolder(folderOf(m_targetPath));
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
    const qint64 newest = QDateTime::currentSecsSinceEpoch() - minimumAge.count();
    const QStringList names =
        QDir(folderPath).entryList({namePrefix + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    int removed = 0;
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(QDir(folderPath).filePath(name));
        UniqueFd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        struct stat status
        {
        };
        if (!fd.isValid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
            continue;
        // A recent one may still be on its way: its writer between creating and locking it, or a
        // sync client copying it from another machine.
        if (status.st_mtime > newest)
            continue;
        // A writer that is still alive holds the lock.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::unlink(path.constData()) == 0)
            ++removed;
    }
    return removed;
}
