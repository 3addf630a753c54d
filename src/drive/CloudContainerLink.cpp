#include "drive/CloudContainerLink.h"

#include "core/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// The canonical form of a path that may not exist yet: its nearest existing ancestor resolved,
// the missing rest appended.
QString canonicalOrPlanned(const QString &path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath()) {
        const QFileInfo info(existing);
        rest = QLatin1Char('/') + info.fileName() + rest;
        existing = info.absolutePath();
    }
    return QDir::cleanPath(QFileInfo(existing).canonicalFilePath() + rest);
}

bool isSameOrBelow(const QString &path, const QString &ancestor)
{
    const QString prefix = ancestor.endsWith(QLatin1Char('/')) ? ancestor : ancestor + QLatin1Char('/');
    return path == ancestor || path.startsWith(prefix);
}

bool existsInAnyForm(const QString &path)
{
    struct stat status
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace

QString CloudContainerLink::create(const QString &folder)
{
    if (folder.isEmpty())
        return tr("No folder was chosen.");
    const QFileInfo chosen(folder);
    if (!chosen.exists())
        return tr("The folder %1 does not exist.").arg(folder);
    if (!chosen.isDir())
        return tr("%1 is not a folder.").arg(folder);
    const QString target = chosen.canonicalFilePath();
    const QString onDevice = canonicalOrPlanned(AppPaths::documentsDirectory());
    if (isSameOrBelow(target, onDevice) || isSameOrBelow(onDevice, target))
        return tr("%1 overlaps the on-device vault (%2); choose a folder outside it.").arg(folder, onDevice);

    const QString container = AppPaths::cloudContainer();
    if (existsInAnyForm(container))
        return tr("A cloud folder is already set up at %1; it is left as it is.").arg(container);
    if (!QDir().mkpath(QFileInfo(container).absolutePath()))
        return tr("Could not create the folder %1.").arg(QFileInfo(container).absolutePath());
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(container).constData()) != 0) {
        const int error = errno;
        if (error == EEXIST)
            return tr("A cloud folder is already set up at %1; it is left as it is.").arg(container);
        return tr("Could not link %1 to %2: %3")
            .arg(container, target,
                 QString::fromStdString(std::error_code(error, std::generic_category()).message()));
    }
    return QString();
}
