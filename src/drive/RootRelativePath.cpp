#include "drive/RootRelativePath.h"

#include "drive/CloudDriveError.h"

#include <QHashFunctions>
#include <QStringList>

namespace {
void checkRoot(const QString &rootDirectory)
{
    if (!rootDirectory.startsWith(u'/') || !rootDirectory.endsWith(u'/'))
        throw CloudDriveError(CloudDriveError::Kind::rootDirectoryURLIsNotDirectory, rootDirectory);
}

void checkComponents(const QString &path)
{
    const QStringList components = path.split(u'/', Qt::SkipEmptyParts);
    for (const QString &component : components) {
        if (component == QStringLiteral(".") || component == QStringLiteral("..") ||
            component.contains(QChar()))
            throw CloudDriveError(CloudDriveError::Kind::invalidFileType,
                                  QStringLiteral("path '%1'").arg(path));
    }
}

QString withoutSlashes(QString text)
{
    while (text.startsWith(u'/'))
        text.remove(0, 1);
    while (text.endsWith(u'/'))
        text.chop(1);
    return text;
}
} // namespace

RootRelativePath RootRelativePath::appending(const QString &component) const
{
    const QString part = withoutSlashes(component);
    if (m_path.isEmpty())
        return RootRelativePath(part);
    if (part.isEmpty())
        return *this;
    return RootRelativePath(m_path + u'/' + part);
}

QString RootRelativePath::fileURL(const QString &rootDirectory) const
{
    checkRoot(rootDirectory);
    checkComponents(m_path);
    return rootDirectory + withoutSlashes(m_path);
}

QString RootRelativePath::directoryURL(const QString &rootDirectory) const
{
    const QString file = fileURL(rootDirectory);
    return file.endsWith(u'/') ? file : file + u'/';
}

size_t qHash(const RootRelativePath &path, size_t seed)
{
    return qHash(path.path(), seed);
}
