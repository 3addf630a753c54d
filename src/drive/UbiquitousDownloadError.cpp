#include "drive/UbiquitousDownloadError.h"

namespace {
QString describe(UbiquitousDownloadError::Kind kind)
{
    switch (kind) {
    case UbiquitousDownloadError::Kind::failedToStart:
        return QStringLiteral("The download of the cloud item could not be started.");
    case UbiquitousDownloadError::Kind::downloadTimedOut:
        return QStringLiteral("The cloud item was not downloaded in time.");
    }
    return QStringLiteral("Unknown download error.");
}
} // namespace

UbiquitousDownloadError::UbiquitousDownloadError(Kind kind) : DriveError(describe(kind)), m_kind(kind) {}

void downloadUbiquitousItem(const QString &path, double timeout)
{
    Q_UNUSED(path);
    Q_UNUSED(timeout);
}
