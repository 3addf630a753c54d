#include "core/UniqueFd.h"

#include <QStringBuilder>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

UniqueFd::~UniqueFd()
{
    close();
}

UniqueFd &UniqueFd::operator=(UniqueFd &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

int UniqueFd::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool UniqueFd::close()
{
    if (m_fd < 0)
        return true;
    const int result = ::close(release());
    return result == 0;
}

bool UniqueFd::writeAll(const void *data, qsizetype length)
{
    const char *next = static_cast<const char *>(data);
    while (length > 0) {
        const ssize_t done = ::write(m_fd, next, size_t(length));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        next += done;
        length -= done;
    }
    return true;
}

namespace {
bool unnamedFilesRefused()
{
    // Lets tests take the path of file systems without unnamed files (vfat, exfat, some FUSE).
    static const bool refused = qEnvironmentVariableIsSet("LUMISERA_NO_UNNAMED_FILES");
    return refused || ::access("/proc/self/fd", X_OK) != 0;
}
} // namespace

UniqueFd UniqueFd::unnamedFile(const QByteArray &folder)
{
    return unnamedFileIn(AT_FDCWD, folder);
}

UniqueFd UniqueFd::unnamedFileIn(int folderFd)
{
    return unnamedFileIn(folderFd, ".");
}

UniqueFd UniqueFd::unnamedFileIn(int folderFd, const QByteArray &folder)
{
    if (unnamedFilesRefused())
        return UniqueFd();
    return UniqueFd(::openat(folderFd, folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
}

bool UniqueFd::linkAs(const QByteArray &path) const
{
    return linkAt(AT_FDCWD, path);
}

bool UniqueFd::linkAt(int folderFd, const QByteArray &name) const
{
    const QByteArray self = QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(m_fd);
    return ::linkat(AT_FDCWD, self.constData(), folderFd, name.constData(), AT_SYMLINK_FOLLOW) == 0;
}
