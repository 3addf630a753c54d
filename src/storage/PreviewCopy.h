#pragma once

#include <QString>
#include <QUrl>
#include <optional>

#include "security/VaultSession.h"

class StoredItem;

// What the document preview shows: the decrypted temporary copy of an item, under its name.
struct PreviewCopy
{
    std::optional<QString> previewItemTitle;
    std::optional<QUrl> previewItemURL;

    // Decrypts the item into the private temporary directory; without a URL when that fails.
    // Synchronous: run it on the storage pool.
    static PreviewCopy make(const StoredItem &item, const VaultSession &session);
};
