#include "storage/DriveManagerError.h"

namespace {
QString describe(DriveManagerError::Kind kind)
{
    switch (kind) {
    case DriveManagerError::Kind::noKey:
        return QStringLiteral("No passcode is available to open the vault.");
    case DriveManagerError::Kind::encryptFailed:
        return QStringLiteral("The data could not be encrypted.");
    case DriveManagerError::Kind::decryptFailed:
        return QStringLiteral("The file could not be decrypted (wrong passcode or damaged file).");
    case DriveManagerError::Kind::tempFolderFailed:
        return QStringLiteral("The private temporary folder is not available.");
    case DriveManagerError::Kind::tempReadFailed:
        return QStringLiteral("The temporary file could not be read.");
    case DriveManagerError::Kind::locked:
        return QStringLiteral("The vault locked before the work was done.");
    }
    return QStringLiteral("Unknown vault error.");
}
} // namespace

DriveManagerError::DriveManagerError(Kind kind) : DriveError(describe(kind)), m_kind(kind) {}
