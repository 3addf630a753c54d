#include "storage/PreviewCopy.h"

#include "storage/StoredItem.h"
#include "storage/TemporaryCopies.h"

PreviewCopy PreviewCopy::make(const StoredItem &item, const VaultSession &session)
{
    const std::optional<QString> copy =
        TemporaryCopies::createDecryptedTempFile(session, item.url(), item.fullName());
    if (!copy)
        return {};
    return {item.fullName(), QUrl::fromLocalFile(*copy)};
}
