#pragma once

#include <QString>

// Which entries a folder listing returns.
enum class FileItemType { all, file, directory };

QString rawValue(FileItemType type);
