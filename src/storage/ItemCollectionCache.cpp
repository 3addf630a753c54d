#include "storage/ItemCollectionCache.h"

#include "storage/ItemCollection.h"

#include <QCoreApplication>

ItemCollectionCache &ItemCollectionCache::shared()
{
    static ItemCollectionCache instance;
    // The collections go with the application object, while the objects they use still exist.
    static const bool cleared = [] {
        qAddPostRoutine([] { shared().clear(); });
        return true;
    }();
    Q_UNUSED(cleared);
    return instance;
}

QString ItemCollectionCache::key(const StoredItem &folder, StorageLocation location)
{
    return rawValue(location) + QLatin1Char('.') + folder.fullName() + QStringLiteral(".inFile");
}

std::shared_ptr<ItemCollection> ItemCollectionCache::collection(const StoredItem &folder,
                                                                StorageLocation location)
{
    const QString cacheKey = key(folder, location);
    const auto found = m_cache.constFind(cacheKey);
    // A collection whose folder went is not handed out again: a folder made anew under the same
    // name (a sync client putting it back, say) would open and close at once.
    if (found != m_cache.cend() && found.value()->hasDriveManager() && !found.value()->folderIsGone()) {
        touch(cacheKey);
        return found.value();
    }
    auto made = std::make_shared<ItemCollection>(location, FileItemType::file, folder.fullName());
    m_cache.insert(cacheKey, made);
    touch(cacheKey);
    while (m_recent.size() > capacity)
        m_cache.remove(m_recent.takeFirst());
    return made;
}

void ItemCollectionCache::touch(const QString &key)
{
    m_recent.removeOne(key);
    m_recent.append(key);
}

void ItemCollectionCache::clear()
{
    m_cache.clear();
    m_recent.clear();
}
