#include "ui/media/MediaModule.h"

#include "core/Logging.h"
#include "media/MediaBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace {
const QString fileName = QStringLiteral("lumisera_media.so");

struct Loaded
{
    MediaBackend *backend = nullptr;
    QString whyNot;
};

Loaded load()
{
    QString lastError = QCoreApplication::translate("MediaModule", "%1 was not found").arg(fileName);
    for (const QString &path : MediaModule::searchPaths()) {
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: Qt Multimedia keeps threads and callbacks of its own until the process ends.
        QPluginLoader loader(path);
        auto *backend = qobject_cast<MediaBackend *>(loader.instance());
        if (backend)
            return {backend, {}};
        lastError = loader.errorString();
    }
    logError(QStringLiteral("Media module not loaded: ") + lastError, QStringLiteral("MediaModule"),
             QStringLiteral("backend()"));
    return {nullptr, lastError};
}
} // namespace

MediaBackend *MediaModule::backend(QString *whyNot)
{
    static const Loaded loaded = load();
    if (!loaded.backend && whyNot)
        *whyNot = loaded.whyNot;
    return loaded.backend;
}

QStringList MediaModule::searchPaths()
{
    return searchPaths(QCoreApplication::applicationDirPath(), QStringLiteral(LUMISERA_BUILD_DIR));
}

QStringList MediaModule::searchPaths(const QString &programFolder, const QString &buildFolder)
{
    // Only a program of this build loads its plugin: an installed one must never pick up code
    // from a build tree that may change under it, or be gone.
    const QString program = QFileInfo(programFolder).canonicalFilePath();
    const QString build = QFileInfo(buildFolder).canonicalFilePath();
    if (!build.isEmpty() && (program == build || program.startsWith(build + u'/')))
        return {build + QStringLiteral("/plugins/") + fileName};
    return {QDir::cleanPath(programFolder + QStringLiteral("/" LUMISERA_PLUGIN_FROM_BIN "/") + fileName)};
}
