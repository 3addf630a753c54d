#pragma once

#include <QtGlobal>

// Owns one file descriptor and closes it when it goes.
class UniqueFd
{
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd &&other) noexcept : m_fd(other.release()) {}
    UniqueFd &operator=(UniqueFd &&other) noexcept;
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    int release();
    // Closes the descriptor now; answers false when close() reports an error (a lost write).
    bool close();
    // Writes all of data, going on after interruptions and short writes; false on an error.
    bool writeAll(const void *data, qsizetype length);

private:
    int m_fd;
};
