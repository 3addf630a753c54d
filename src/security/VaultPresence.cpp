#include "security/VaultPresence.h"

#include "core/AppPaths.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};

VaultPresence maybe(const QString &reason)
{
    return {true, reason};
}

// A tree folder: absent, or readable without any folder in it, proves nothing is stored there.
VaultPresence lookAtTree(const QString &tree, const QString &name)
{
    const QByteArray path = QFile::encodeName(tree);
    struct stat status
    {
    };
    if (::stat(path.constData(), &status) != 0)
        return errno == ENOENT ? VaultPresence{} : maybe(name + QStringLiteral(" cannot be examined"));
    if (!S_ISDIR(status.st_mode))
        return {};
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(path.constData()));
    if (!dir)
        return maybe(name + QStringLiteral(" cannot be read"));
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        const QByteArray entryName(entry->d_name);
        if (entryName == "." || entryName == "..")
            continue;
        struct stat entryStatus
        {
        };
        const QByteArray entryPath = path + '/' + entryName;
        if (::lstat(entryPath.constData(), &entryStatus) != 0 || S_ISDIR(entryStatus.st_mode))
            return maybe(name + QStringLiteral(" holds folders"));
    }
    if (errno != 0)
        return maybe(name + QStringLiteral(" cannot be read"));
    return {};
}

} // namespace

VaultPresence VaultPresence::look(const QString &documents, const QString &cloudContainer)
{
    const VaultPresence local = lookAtTree(documents, QStringLiteral("the on-device tree"));
    if (local.mayExist)
        return local;
    const QByteArray container = QFile::encodeName(cloudContainer);
    struct stat status
    {
    };
    if (::lstat(container.constData(), &status) != 0)
        return errno == ENOENT ? VaultPresence{} : maybe(QStringLiteral("CloudContainer cannot be examined"));
    if (S_ISLNK(status.st_mode) && ::stat(container.constData(), &status) != 0)
        return maybe(QStringLiteral("CloudContainer is a link whose folder is missing"));
    if (!S_ISDIR(status.st_mode))
        return {};
    return lookAtTree(cloudContainer + QStringLiteral("/Documents"), QStringLiteral("the cloud tree"));
}

VaultPresence VaultPresence::look()
{
    return look(AppPaths::documentsDirectory(), AppPaths::cloudContainer());
}
