#pragma once

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QString>
#include <list>
#include <optional>

// An in-memory cache of decoded pictures, keyed by the encrypted file's URL string.
// Bounded by the bytes of its images (QImage::sizeInBytes()); when an insertion would go over
// the limit, the least recently used entries go first. Linux sends no memory-pressure signal,
// so the bound is the only thing that keeps the cache from growing with the folder.
// Thread-safe: the pool's image tasks and the main thread use the shared instances at once.
class DecodedImageCache
{
public:
    DecodedImageCache(const QString &name, qint64 totalCostLimit);
    DecodedImageCache(const DecodedImageCache &) = delete;
    DecodedImageCache &operator=(const DecodedImageCache &) = delete;

    // The process-wide caches, made on first use.
    static DecodedImageCache &thumbnails(); // "Thumbnail", 512 MiB
    static DecodedImageCache &fullSize();   // "Fullsize", 256 MiB
    static DecodedImageCache &tiles();      // "Tiles", 256 MiB

    static constexpr qint64 thumbnailCostLimit = qint64(512) * 1024 * 1024;
    static constexpr qint64 fullSizeCostLimit = qint64(256) * 1024 * 1024;
    // A 280-pixel tile takes 230 KiB (4:3) to 306 KiB (square): about 850 to 1100 tiles, so a
    // folder of a thousand pictures scrolls back without decoding again. A few thousand would take
    // a GiB, more than the other two caches together, for tiles that decode in milliseconds.
    static constexpr qint64 tileCostLimit = qint64(256) * 1024 * 1024;

    QString name() const { return m_name; }
    qint64 totalCostLimit() const { return m_limit; }

    // The image under key, which becomes the most recently used; nothing on a miss. An entry
    // stored with another stamp (the file it came from changed since) is dropped: a miss.
    std::optional<QImage> object(const QString &key, const QString &stamp = {});
    // Whether key is cached, without touching the order of use.
    bool contains(const QString &key) const;
    // Stores image under key (replacing an entry of that key) and evicts the least recently used
    // entries until the total fits. An image larger than the whole limit is not kept: false.
    // Nor is one decoded before removeAllObjects() was last called (clearCount() differs from
    // unlessClearedSince): the vault locked while it was being decoded.
    bool setObject(const QString &key, const QImage &image, const QString &stamp = {},
                   std::optional<quint64> unlessClearedSince = std::nullopt);
    void removeObject(const QString &key);
    // Every entry whose key starts with prefix (the pictures of a deleted folder).
    void removeObjectsWithPrefix(const QString &prefix);
    void removeAllObjects();
    // How many times removeAllObjects() was called.
    quint64 clearCount() const;

    int count() const;
    qint64 totalCost() const;
    qint64 remainingCost() const;
    // True when the next picture of the usual size would push an older one out: the remaining
    // room is below the average cost of the entries held. Prefetching stops here, so that a large
    // folder does not decode pictures only to evict the ones decoded before. An empty cache is
    // never full.
    bool isFull() const;

private:
    struct Entry
    {
        QImage image;
        QString stamp;
        qint64 cost = 0;
        std::list<QString>::iterator use; // position in m_uses
    };

    void removeLocked(QHash<QString, Entry>::iterator it);

    const QString m_name;
    const qint64 m_limit;
    mutable QMutex m_mutex;
    QHash<QString, Entry> m_entries;
    std::list<QString> m_uses; // front = most recently used
    qint64 m_totalCost = 0;
    quint64 m_clearCount = 0;
};
