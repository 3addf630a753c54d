#pragma once

#include "drive/DriveError.h"

#include <system_error>

// A failure of the operating system's file calls (missing item, permission, disk full),
// passed up with its error code.
class FileSystemError : public DriveError
{
public:
    // operation reads like "Could not open"; the description adds the system's text. The path stays
    // out of it (descriptions go to the journal) and is kept for callers that tell the person.
    FileSystemError(std::error_code code, const QString &operation, const QString &path);
    // The same, from the current errno.
    static FileSystemError fromErrno(const QString &operation, const QString &path);

    std::error_code code() const { return m_code; }
    QString path() const { return m_path; }

private:
    std::error_code m_code;
    QString m_path;
};
