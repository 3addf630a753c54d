#pragma once

#include "TestSession.h"
#include "storage/DriveManager.h"
#include "storage/FileNaming.h"
#include "storage/FolderOperations.h"
#include "storage/ItemCollection.h"

#include <memory>

// A collection of a vault folder whose drive is connected, ready for operations and listings
// under the test's session.
inline std::unique_ptr<ItemCollection> connected(FileItemType type, const QString &path = {},
                                                 StorageLocation location = StorageLocation::local)
{
    auto collection = std::make_unique<ItemCollection>(location, type, path);
    collection->setSession(testSession());
    collection->driveManager()->connect();
    return collection;
}

// A fresh folder's collection (a failure to make it shows in the listing checks).
inline std::unique_ptr<ItemCollection> connectedFolder(const QString &name)
{
    connected(FileItemType::all)->operations().createFolder(name, std::nullopt);
    return connected(FileItemType::file, FileNaming::adjustedFolderName(name));
}

// The items' names as listed, or their extensions.
inline QStringList itemNames(const QList<StoredItemPtr> &items, bool extensions = false)
{
    QStringList names;
    for (const StoredItemPtr &item : items)
        names.append(extensions ? item->ext() : item->fullName());
    return names;
}
