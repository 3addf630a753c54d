#pragma once

#include "TestSession.h"
#include "storage/DriveManager.h"
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
