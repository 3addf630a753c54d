#include "ui/preview/QuickLookItem.h"

#include "storage/FileManager2.h"
#include "storage/StoredItem.h"

QuickLookItem QuickLookItem::make(const StoredItem &item, const VaultSession &session)
{
    const std::optional<QString> copy =
        FileManager2::createDecryptedTempFile(session, item.url(), item.fullName());
    if (!copy)
        return {};
    return {item.fullName(), QUrl::fromLocalFile(*copy)};
}
