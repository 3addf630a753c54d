#include "storage/StorageLocation.h"

QString rawValue(StorageLocation location)
{
    switch (location) {
    case StorageLocation::local:
        return QStringLiteral("local");
    case StorageLocation::cloud:
        return QStringLiteral("cloud");
    case StorageLocation::unknown:
        break;
    }
    return QStringLiteral("unknown");
}
