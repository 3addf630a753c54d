#include "ScopedFd.h"

#include <unistd.h>

ScopedFd::~ScopedFd()
{
    close();
}

ScopedFd &ScopedFd::operator=(ScopedFd &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

int ScopedFd::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool ScopedFd::close()
{
    if (m_fd < 0)
        return true;
    const int result = ::close(release());
    return result == 0;
}
