#pragma once

// Owns one file descriptor and closes it when it goes.
class ScopedFd
{
public:
    explicit ScopedFd(int fd = -1) : m_fd(fd) {}
    ~ScopedFd();
    ScopedFd(ScopedFd &&other) noexcept : m_fd(other.release()) {}
    ScopedFd &operator=(ScopedFd &&other) noexcept;
    ScopedFd(const ScopedFd &) = delete;
    ScopedFd &operator=(const ScopedFd &) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    int release();
    // Closes the descriptor now; answers false when close() reports an error (a lost write).
    bool close();

private:
    int m_fd;
};
