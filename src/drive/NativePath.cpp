#include "NativePath.h"

#include <QFile>

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

} // namespace NativePath
