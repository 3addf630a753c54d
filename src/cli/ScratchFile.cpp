#include "cli/ScratchFile.h"

#include "core/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

UniqueFd ScratchFile::create()
{
    const QString folder = AppPaths::temporaryDirectory();
    if (folder.isEmpty()) {
        errno = EACCES;
        return UniqueFd();
    }
    UniqueFd unnamed = UniqueFd::unnamedFile(QFile::encodeName(folder));
    if (unnamed.isValid()) {
        // Opened for writing only: read back through its own descriptor, which keeps it unnamed.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamed.get());
        return UniqueFd(::open(self.constData(), O_RDWR | O_CLOEXEC));
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray path = QFile::encodeName(
            folder + u'/' + namePrefix + QString::number(QRandomGenerator::global()->generate64(), 36));
        UniqueFd named(::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!named.isValid() && errno == EEXIST)
            continue;
        if (!named.isValid())
            return named;
        // Locked for the moment it has a name, so that another command leaves it alone.
        ::flock(named.get(), LOCK_EX | LOCK_NB);
        ::unlink(path.constData());
        return named;
    }
    errno = EEXIST;
    return UniqueFd();
}

int ScratchFile::removeLeftovers()
{
    const QString folder = AppPaths::temporaryDirectory();
    if (folder.isEmpty())
        return 0;
    int removed = 0;
    const QStringList names =
        QDir(folder).entryList({namePrefix + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(folder + u'/' + name);
        UniqueFd fd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat status
        {
        };
        if (!fd.isValid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
            continue;
        // A command that is still running holds the lock.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::unlink(path.constData()) == 0)
            ++removed;
    }
    return removed;
}
