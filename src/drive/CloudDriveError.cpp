#include "drive/CloudDriveError.h"

CloudDriveError::CloudDriveError(Kind kind, const QString &detail)
    : DriveError(describe(kind)), m_kind(kind), m_detail(detail)
{}

QString CloudDriveError::describe(Kind kind)
{
    switch (kind) {
    case Kind::foundationError:
        return QStringLiteral("The file service could not coordinate access to the item.");
    case Kind::couldNotAccessUbiquityContainer:
        return QStringLiteral("The cloud container could not be opened.");
    case Kind::queriedWhileNotConnected:
        return QStringLiteral("The cloud storage is not connected: its container folder is missing.");
    case Kind::rootDirectoryURLIsNotDirectory:
        return QStringLiteral("The storage root is not a folder.");
    case Kind::notSignedIntoCloud:
        return QStringLiteral("Not signed into the cloud: there is no cloud container folder.");
    case Kind::invalidMetadata:
        return QStringLiteral("The item's cloud metadata is invalid.");
    case Kind::invalidFileType:
        return QStringLiteral(
            "The item is missing, is of the other kind, or has a name that is not allowed.");
    }
    return QStringLiteral("Unknown drive error.");
}
