#include "core/AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

QString AppPaths::dataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Morvenda/Lumisera");
}

QString AppPaths::documentsDirectory()
{
    return dataDirectory() + QStringLiteral("/Documents");
}

QString AppPaths::cloudContainer()
{
    return dataDirectory() + QStringLiteral("/CloudContainer");
}

QString AppPaths::credentialsFile()
{
    return dataDirectory() + QStringLiteral("/credentials");
}

bool AppPaths::makePrivateFolders(const QString &path)
{
    const QString target = QDir::cleanPath(QDir(path).absolutePath());
    qsizetype end = 0;
    do {
        end = target.indexOf(u'/', end + 1);
        const QString folder = end == -1 ? target : target.left(end);
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && !QFileInfo(folder).isDir())
            return false;
    } while (end != -1);
    return true;
}

QString AppPaths::temporaryDirectory()
{
    return privateRuntimeFolder(QStringLiteral("lumisera"));
}

QString AppPaths::privateRuntimeFolder(const QString &name)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QString path =
        !runtime.isEmpty() && QFileInfo(QString::fromLocal8Bit(runtime)).isDir()
            ? QString(QString::fromLocal8Bit(runtime) + QLatin1Char('/') + name)
            : QDir::tempPath() + QLatin1Char('/') + name + QLatin1Char('-') + QString::number(getuid());
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    // A folder someone else made, or a link to one, must not receive plaintext, locks or sockets.
    struct stat status
    {
    };
    if (::lstat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != getuid())
        return {};
    if ((status.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return {};
    return path;
}

void AppPaths::clearTemporaryDirectory()
{
    const QString path = temporaryDirectory();
    if (path.isEmpty())
        return;
    QDir directory(path);
    const QFileInfoList entries =
        directory.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
}
