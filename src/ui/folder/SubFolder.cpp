#include "ui/folder/SubFolder.h"

#include "storage/ItemCollection.h"
#include "storage/ItemCollectionCache.h"

SubFolder::SubFolder(const StoredItem &folder, StorageLocation location, VaultSessionPtr session,
                     Presenter *presenter, const ScreenPrivacyMonitor *privacy, QWidget *parent)
    : FolderView(ItemCollectionCache::shared().collection(folder, location), std::move(session), presenter,
                 privacy, parent)
{
    setObjectName(QStringLiteral("subFolder"));
    setTitle(folder.name());
    setDismissesOnBackground(true);
}
