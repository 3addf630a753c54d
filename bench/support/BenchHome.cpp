#include "BenchHome.h"

#include <QDir>
#include <QFile>

#include <utility>

BenchHome::BenchHome(const QString &name)
    : m_folder(QDir::tempPath() + QStringLiteral("/lumisera-") + name + QStringLiteral("-XXXXXX"))
{
    if (!m_folder.isValid())
        return;
    for (const auto &[variable, folder] :
         {std::pair{"HOME", "home"}, std::pair{"XDG_CONFIG_HOME", "config"},
          std::pair{"XDG_DATA_HOME", "data"}, std::pair{"XDG_CACHE_HOME", "cache"},
          std::pair{"XDG_RUNTIME_DIR", "runtime"}}) {
        const QString path = m_folder.filePath(QString::fromLatin1(folder));
        if (!QDir().mkpath(path) ||
            !QFile::setPermissions(path,
                                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
            return;
        qputenv(variable, QFile::encodeName(path));
    }
    m_valid = true;
}
