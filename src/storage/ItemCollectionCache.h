#pragma once

#include "storage/StorageLocation.h"
#include "storage/StoredItem.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class ItemCollection;

// Keeps the collections of folders the user opened, so that going back into a folder shows its
// last listing at once. Bounded: beyond `capacity` entries the least recently used one goes
// (it lives on while a screen still holds it). Main thread.
class ItemCollectionCache
{
public:
    static constexpr qsizetype capacity = 64;

    static ItemCollectionCache &shared();

    // The folder's collection, made (result type file, path = the folder's full name) when there
    // is none or the cached one was closed.
    std::shared_ptr<ItemCollection> collection(const StoredItem &folder, StorageLocation location);
    static QString key(const StoredItem &folder, StorageLocation location);

    qsizetype count() const { return m_cache.size(); }
    void clear();

private:
    void touch(const QString &key);

    QHash<QString, std::shared_ptr<ItemCollection>> m_cache;
    QStringList m_recent; // least recently used first
};
