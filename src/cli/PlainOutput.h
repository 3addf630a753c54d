#pragma once

#include "InterruptCleanup.h"
#include "UniqueFd.h"

#include <QString>
#include <memory>

// Where `get` writes a decrypted file: an unnamed file in the target's folder, linked to the
// target's name only once complete, so that an interrupted command leaves no plaintext at all.
// Where the file system has no unnamed files, a hidden sibling instead, removed when the command
// is interrupted and put into place without replacing anything (a hard link, or a rename that
// refuses to replace where hard links are missing, as on vfat and exfat).
class PlainOutput
{
public:
    enum class Placed { done, exists, failed };

    explicit PlainOutput(const QString &target);
    ~PlainOutput();
    PlainOutput(const PlainOutput &) = delete;
    PlainOutput &operator=(const PlainOutput &) = delete;

    bool isOpen() const { return m_fd.isValid(); }
    int fd() const { return m_fd.get(); }
    // Flushes the bytes and gives them the target's name, unless a file took it meanwhile.
    Placed place();

private:
    Placed placeHidden();

    QString m_target;
    UniqueFd m_fd;
    QString m_hidden; // empty for an unnamed file
    std::unique_ptr<InterruptCleanup> m_cleanup;
};
