#include "storage/TemporaryCopies.h"

#include "core/AppPaths.h"
#include "core/Logging.h"
#include "core/UniqueFd.h"
#include "drive/CloudDrive.h"
#include "drive/FileSystemError.h"
#include "drive/NativePath.h"
#include "drive/PartialFile.h"
#include "security/FileEncryptor.h"
#include "storage/DriveManagerError.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
// The path of name in the private temporary directory. Throws when there is none or when the
// name would lead out of it.
QString temporaryPath(const QString &name)
{
    const QString folder = AppPaths::temporaryDirectory();
    if (folder.isEmpty())
        throw DriveManagerError(DriveManagerError::Kind::tempFolderFailed);
    CloudDrive::checkFileName(name);
    return folder + u'/' + name;
}

bool occupied(const QString &path)
{
    struct stat status
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// A regular file only: a FIFO would hold the storage thread until a writer came.
UniqueFd openSource(const QString &sourcePath)
{
    UniqueFd fd(
        ::open(QFile::encodeName(sourcePath).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status
    {
    };
    if (!fd.isValid() || ::fstat(fd.get(), &status) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not open"), sourcePath);
    if (!S_ISREG(status.st_mode))
        throw FileSystemError(std::make_error_code(std::errc::invalid_argument),
                              QStringLiteral("Not a regular file:"), sourcePath);
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

void copyInto(const QString &sourcePath, PartialFile &partial)
{
    UniqueFd fd = openSource(sourcePath);
    QFile source;
    if (!source.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        throw FileSystemError(std::make_error_code(std::errc::io_error), QStringLiteral("Could not open"),
                              sourcePath + QStringLiteral(" (") + source.errorString() + u')');
    fd.release();
    constexpr qint64 chunk = 1024 * 1024;
    while (!source.atEnd()) {
        const QByteArray bytes = source.read(chunk);
        if (bytes.isEmpty() && source.error() != QFileDevice::NoError)
            throw FileSystemError(std::make_error_code(std::errc::io_error), QStringLiteral("Could not read"),
                                  sourcePath);
        partial.write(bytes);
    }
}
} // namespace

std::optional<QString> TemporaryCopies::createDecryptedTempFile(const VaultSession &session,
                                                                const QString &vaultFilePath,
                                                                const QString &name)
{
    return createDecryptedTempFile(session, QUrl::fromLocalFile(vaultFilePath), name);
}

std::optional<QString> TemporaryCopies::createDecryptedTempFile(const VaultSession &session,
                                                                const QUrl &vaultFile, const QString &name)
{
    const std::optional<QString> key = session.key();
    if (!key)
        return std::nullopt;
    try {
        // Decrypted beside the target first: a replaced link is never followed, and a failure
        // leaves no plaintext fragment under the name.
        PartialFile partial(temporaryPath(name));
        const UniqueFd source = NativePath::openListed(NativePath::fromUrl(vaultFile));
        if (!FileEncryptor::processFile(source.get(), partial.fd(), *key, CryptOperation::decrypt, nullptr,
                                        [&session](qint64) { return session.isOpen(); }) ||
            !session.isOpen()) {
            logError(QStringLiteral("Failed to decrypt file on copy"), QStringLiteral(__FILE__),
                     QStringLiteral("createDecryptedTempFile(from:withName:)"));
            return std::nullopt;
        }
        partial.commit();
        return partial.targetPath();
    } catch (const DriveError &error) {
        errorMsg(QStringLiteral("Caught error ") + error.description());
        return std::nullopt;
    }
}

std::optional<QString> TemporaryCopies::copyToTemporaryDirectory(const QString &sourcePath,
                                                                 const std::optional<QString> &name)
{
    try {
        const QString target = temporaryPath(name.value_or(QFileInfo(sourcePath).fileName()));
        if (occupied(target))
            return target;
        PartialFile partial(target);
        copyInto(sourcePath, partial);
        partial.commit();
        return target;
    } catch (const DriveError &error) {
        errorMsg(QStringLiteral("Caught error ") + error.description());
        return std::nullopt;
    }
}
