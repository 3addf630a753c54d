#pragma once

#include <QByteArray>
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

    // An unnamed regular file in `folder` (mode 0600), given a name with linkAs() once complete,
    // so that an interrupted write leaves nothing. Invalid where the file system has no unnamed
    // files or no /proc to name them through.
    static UniqueFd unnamedFile(const QByteArray &folder);
    // The same in the folder open as folderFd.
    static UniqueFd unnamedFileIn(int folderFd);
    // Gives the unnamed file the name `path`, never replacing one; false with errno set.
    bool linkAs(const QByteArray &path) const;
    // The same for `name` in the folder open as folderFd.
    bool linkAt(int folderFd, const QByteArray &name) const;

private:
    static UniqueFd unnamedFileIn(int folderFd, const QByteArray &folder);

    int m_fd;
};
