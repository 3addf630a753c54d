#include "StorageLocation.h"

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

std::optional<StorageLocation> storageLocationFromRawValue(const QString &raw)
{
    for (StorageLocation location :
         {StorageLocation::unknown, StorageLocation::local, StorageLocation::cloud}) {
        if (rawValue(location) == raw)
            return location;
    }
    return std::nullopt;
}
