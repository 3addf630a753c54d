#pragma once

#include <QString>
#include <optional>

// Which vault tree a folder belongs to.
enum class StorageLocation { unknown, local, cloud };

QString rawValue(StorageLocation location);
std::optional<StorageLocation> storageLocationFromRawValue(const QString &raw);
