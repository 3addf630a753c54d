#include "storage/PlainCopy.h"

#include "drive/FileSystemError.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Enough for any folder a person keeps; past it something is wrong and the copy is refused.
constexpr int maxAttempts = 10000;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// So that a power cut after the name was given keeps it.
void syncFolder(const QString &folder)
{
    UniqueFd fd(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isValid())
        ::fsync(fd.get());
}

// vfat and exfat answer a hard link with EPERM, some FUSE file systems with ENOSYS or ENOTSUP.
bool noHardLinks(int error)
{
    return error == EPERM || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK;
}
} // namespace

PlainCopy::PlainCopy(const QString &folder) : m_folder(folder)
{
    m_fd = UniqueFd::unnamedFile(native(folder));
    if (m_fd.isValid())
        return;
    for (int attempt = 0; attempt < 8 && !m_fd.isValid(); ++attempt) {
        m_hidden = folder + u'/' + hiddenPrefix +
                   QString::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, u'0');
        // Registered before it exists, so that no moment leaves it behind.
        m_cleanup = std::make_unique<InterruptCleanup>(m_hidden);
        m_fd = UniqueFd(
            ::open(native(m_hidden).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!m_fd.isValid() && errno != EEXIST)
            break;
    }
    if (!m_fd.isValid()) {
        const FileSystemError error =
            FileSystemError::fromErrno(QStringLiteral("Could not create a file in"), folder);
        m_hidden.clear();
        throw error;
    }
}

PlainCopy::~PlainCopy()
{
    if (!m_hidden.isEmpty())
        ::unlink(native(m_hidden).constData());
}

QString PlainCopy::place(const QString &name)
{
    flush(name);
    for (int attempt = 0; attempt < maxAttempts; ++attempt) {
        const QString target = m_folder + u'/' + candidate(name, attempt);
        if (placeAs(target)) {
            finish();
            return target;
        }
    }
    throw FileSystemError(std::make_error_code(std::errc::file_exists), QStringLiteral("Could not save"),
                          m_folder + u'/' + name);
}

bool PlainCopy::placeExactly(const QString &name)
{
    flush(name);
    if (!placeAs(m_folder + u'/' + name))
        return false;
    finish();
    return true;
}

void PlainCopy::flush(const QString &name)
{
    if (::fsync(m_fd.get()) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not write"), m_folder + u'/' + name);
}

void PlainCopy::finish()
{
    m_cleanup.reset();
    syncFolder(m_folder);
    m_fd.close();
}

bool PlainCopy::placeAs(const QString &target)
{
    const QByteArray to = native(target);
    if (m_hidden.isEmpty()) {
        if (m_fd.linkAs(to))
            return true;
        if (errno == EEXIST)
            return false;
        throw FileSystemError::fromErrno(QStringLiteral("Could not save"), target);
    }
    const QByteArray from = native(m_hidden);
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        m_hidden.clear();
        return true;
    }
    if (errno == EEXIST)
        return false;
    if (!noHardLinks(errno))
        throw FileSystemError::fromErrno(QStringLiteral("Could not save"), target);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        m_hidden.clear();
        return true;
    }
    if (errno == EEXIST)
        return false;
    throw FileSystemError::fromErrno(QStringLiteral("Could not save"), target);
}

QString PlainCopy::candidate(const QString &name, int attempt)
{
    if (attempt == 0)
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const bool split = dot > 0;
    return (split ? name.left(dot) : name) + u'(' + QString::number(attempt) + u')' +
           (split ? name.mid(dot) : QString());
}
