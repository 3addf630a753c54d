#pragma once

#include <QString>
#include <optional>

// Which entries a folder listing returns.
enum class FileItemType { all, file, directory };

QString rawValue(FileItemType type);
std::optional<FileItemType> fileItemTypeFromRawValue(const QString &raw);
