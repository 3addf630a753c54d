#include "storage/DecodedImageCache.h"

#include <QMutexLocker>

DecodedImageCache::DecodedImageCache(const QString &name, qint64 totalCostLimit)
    : m_name(name), m_limit(totalCostLimit)
{}

DecodedImageCache &DecodedImageCache::thumbnails()
{
    static DecodedImageCache cache(QStringLiteral("Thumbnail"), thumbnailCostLimit);
    return cache;
}

DecodedImageCache &DecodedImageCache::fullSize()
{
    static DecodedImageCache cache(QStringLiteral("Fullsize"), fullSizeCostLimit);
    return cache;
}

DecodedImageCache &DecodedImageCache::tiles()
{
    static DecodedImageCache cache(QStringLiteral("Tiles"), tileCostLimit);
    return cache;
}

std::optional<QImage> DecodedImageCache::object(const QString &key, const QString &stamp)
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return std::nullopt;
    if (it->stamp != stamp) {
        removeLocked(it);
        return std::nullopt;
    }
    m_uses.splice(m_uses.begin(), m_uses, it->use);
    return it->image;
}

bool DecodedImageCache::contains(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_entries.contains(key);
}

bool DecodedImageCache::setObject(const QString &key, const QImage &image, const QString &stamp,
                                  std::optional<quint64> unlessClearedSince)
{
    const qint64 cost = image.sizeInBytes();
    QMutexLocker lock(&m_mutex);
    if (unlessClearedSince && *unlessClearedSince != m_clearCount)
        return false;
    if (const auto old = m_entries.find(key); old != m_entries.end())
        removeLocked(old);
    if (cost > m_limit)
        return false;
    while (m_totalCost + cost > m_limit)
        removeLocked(m_entries.find(m_uses.back()));
    m_uses.push_front(key);
    m_entries.insert(key, Entry{image, stamp, cost, m_uses.begin()});
    m_totalCost += cost;
    return true;
}

void DecodedImageCache::removeObject(const QString &key)
{
    QMutexLocker lock(&m_mutex);
    if (const auto it = m_entries.find(key); it != m_entries.end())
        removeLocked(it);
}

void DecodedImageCache::removeObjectsWithPrefix(const QString &prefix)
{
    QMutexLocker lock(&m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it.key().startsWith(prefix)) {
            m_totalCost -= it->cost;
            m_uses.erase(it->use);
            it = m_entries.erase(it);
        } else {
            ++it;
        }
    }
}

void DecodedImageCache::removeAllObjects()
{
    QMutexLocker lock(&m_mutex);
    m_entries.clear();
    m_uses.clear();
    m_totalCost = 0;
    ++m_clearCount;
}

quint64 DecodedImageCache::clearCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_clearCount;
}

int DecodedImageCache::count() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_entries.size());
}

qint64 DecodedImageCache::totalCost() const
{
    QMutexLocker lock(&m_mutex);
    return m_totalCost;
}

qint64 DecodedImageCache::remainingCost() const
{
    QMutexLocker lock(&m_mutex);
    return m_limit - m_totalCost;
}

bool DecodedImageCache::isFull() const
{
    QMutexLocker lock(&m_mutex);
    if (m_entries.isEmpty())
        return false;
    const qint64 averageCost = m_totalCost / m_entries.size();
    return m_limit - m_totalCost < qMax<qint64>(averageCost, 1);
}

void DecodedImageCache::removeLocked(QHash<QString, Entry>::iterator it)
{
    m_totalCost -= it->cost;
    m_uses.erase(it->use);
    m_entries.erase(it);
}
