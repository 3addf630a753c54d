#pragma once

#include "storage/StoredItem.h"

#include <QList>

// Two conflict copies of one file from the same minute (a Nextcloud and a Syncthing conflict, say)
// would show the same name, and neither could then be opened by it. Such copies show more of
// their own text until every name in the listing is different: the seconds, then the sync
// client's tag (Syncthing's device, Dropbox's account), then a number.
class ConflictCopyNames
{
public:
    ConflictCopyNames() = delete;

    // Renames the conflict copies among items whose names another item shows too; other items keep
    // theirs. The order of items stays.
    static void makeDistinct(QList<StoredItemPtr> &items);
};
