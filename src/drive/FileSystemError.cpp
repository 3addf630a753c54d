#include "drive/FileSystemError.h"

#include <cerrno>

FileSystemError::FileSystemError(std::error_code code, const QString &operation, const QString &path)
    : DriveError(operation + QStringLiteral(": ") + QString::fromStdString(code.message())), m_code(code),
      m_path(path)
{}

FileSystemError FileSystemError::fromErrno(const QString &operation, const QString &path)
{
    return FileSystemError(std::error_code(errno, std::generic_category()), operation, path);
}
