#include "TestHome.h"

#include <QDir>
#include <QFile>

namespace {
void pointAt(const char *variable, const QString &path)
{
    QDir().mkpath(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv(variable, QFile::encodeName(path));
}
} // namespace

TestHome::TestHome() : m_dir(QDir::tempPath() + QStringLiteral("/lumisera-test-XXXXXX"))
{
    pointAt("HOME", path());
    pointAt("XDG_CONFIG_HOME", configHome());
    pointAt("XDG_DATA_HOME", dataHome());
    pointAt("XDG_CACHE_HOME", path() + QStringLiteral("/cache"));
    pointAt("XDG_RUNTIME_DIR", runtimeDir());
}

TestHome::~TestHome() = default;
