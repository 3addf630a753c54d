#include "FileItemType.h"

QString rawValue(FileItemType type)
{
    switch (type) {
    case FileItemType::file:
        return QStringLiteral("file");
    case FileItemType::directory:
        return QStringLiteral("directory");
    case FileItemType::all:
        break;
    }
    return QStringLiteral("all");
}

std::optional<FileItemType> fileItemTypeFromRawValue(const QString &raw)
{
    for (FileItemType type : {FileItemType::all, FileItemType::file, FileItemType::directory}) {
        if (rawValue(type) == raw)
            return type;
    }
    return std::nullopt;
}
