#include "NativePath.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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
    const int fd = ::open(fromUrl(url).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(WholeFile::Failure::open, QFileDevice::OpenError,
                    QString::fromLocal8Bit(std::strerror(errno)));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(WholeFile::Failure::open, file.error(), file.errorString());
    }
    if (file.size() > maxBytes)
        return fail(WholeFile::Failure::tooLarge, QFileDevice::ReadError, QString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(WholeFile::Failure::read, file.error(), file.errorString());
    result.bytes = std::move(bytes);
    return result;
}

} // namespace NativePath
