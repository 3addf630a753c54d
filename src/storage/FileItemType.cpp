#include "storage/FileItemType.h"

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
