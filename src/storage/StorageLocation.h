#pragma once

#include <QString>

// Which vault tree a folder belongs to.
enum class StorageLocation { unknown, local, cloud };

QString rawValue(StorageLocation location);
