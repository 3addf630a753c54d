#include "drive/NativePath.h"

#include "drive/FileSystemError.h"
#include "drive/TreeFolder.h"

#include <QFile>

#include <cerrno>

namespace NativePath {

QUrl toUrl(const QByteArray &path)
{
    const QString decoded = QFile::decodeName(path);
    if (QFile::encodeName(decoded) == path)
        return QUrl::fromLocalFile(decoded);
    // Encoded as QUrl::fromLocalFile() would encode the rest, so that a folder's URL stays a prefix.
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/!$&'()*+,;=:@[]"));
}

QByteArray fromUrl(const QUrl &url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

WholeFile readAll(const QUrl &url, qint64 maxBytes)
{
    WholeFile result;
    const auto fail = [&result](WholeFile::Failure failure, QFileDevice::FileError code,
                                const QString &reason) {
        result.failure = failure;
        result.code = code;
        result.reason = reason;
        return result;
    };
    UniqueFd fd;
    try {
        fd = openListed(fromUrl(url));
    } catch (const FileSystemError &error) {
        return fail(WholeFile::Failure::open, QFileDevice::OpenError,
                    QString::fromStdString(error.code().message()));
    }
    QFile file;
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return fail(WholeFile::Failure::open, file.error(), file.errorString());
    fd.release();
    if (file.size() > maxBytes)
        return fail(WholeFile::Failure::tooLarge, QFileDevice::ReadError, QString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(WholeFile::Failure::read, file.error(), file.errorString());
    result.bytes = std::move(bytes);
    return result;
}

UniqueFd openListed(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        errno = ENOENT;
        throw FileSystemError::fromErrno(QStringLiteral("Could not open"), QFile::decodeName(path));
    }
    const TreeFolder folder = TreeFolder::open(slash == 0 ? QByteArray("/") : path.left(slash));
    return folder.openFile(path.mid(slash + 1));
}

} // namespace NativePath
