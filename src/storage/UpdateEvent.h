#pragma once

#include "storage/StorageLocation.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

// What a drive manager saw change: entry names below the root path inPath of a tree.
struct UpdateEvent
{
    StorageLocation location = StorageLocation::unknown;
    QString inPath;
    QStringList files;

    bool operator==(const UpdateEvent &other) const = default;
};

Q_DECLARE_METATYPE(UpdateEvent)
