#pragma once

#include "storage/StorageLocation.h"

#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class StoredItem;
using StoredItemPtr = std::shared_ptr<StoredItem>;

// One entry of a vault folder as the interface shows it: a folder (its name is stored in clear)
// or a file (its on-disk name is scrambled; name and ext are the clear ones). The URL holds the
// exact on-disk path (NativePath): every operation on the item goes by it, never by its name.
// A sync client's conflict copy is named after its original (SyncConflictName). Items are made
// afresh at every listing and only read after creation, except for their two kinds.
class StoredItem
{
public:
    enum class StoredItemType { directory, file };
    enum class StoredFileType { unknown, image, pdf, content };

    // ext without the dot; location and parent (the drive manager's root path) of the listing
    // collection. The file type follows from ext for files; folders stay unknown.
    StoredItem(const QUrl &url, const QString &name, const QString &ext, bool isFile,
               StorageLocation location, const QString &parent);

    // The item of a listed on-disk URL. Throws FileSystemError when the entry cannot be read (it
    // vanished since the listing, for instance) or is neither a regular file nor a folder.
    static StoredItemPtr makeStoredItem(const QUrl &url, StorageLocation location, const QString &parent);
    // The kind of a file with this extension, compared in lower case.
    static StoredFileType fileType(const QString &ext);

    StoredItemType itemType() const { return m_itemType; }
    void setItemType(StoredItemType type) { m_itemType = type; }
    StoredFileType fileType() const { return m_fileType; }
    void setFileType(StoredFileType type) { m_fileType = type; }
    const QUrl &url() const { return m_url; }
    const QString &ext() const { return m_ext; }
    const QString &name() const { return m_name; }
    // Seconds since 2001-01-01 UTC when this object was made (not a file date).
    double timestamp() const { return m_timestamp; }
    StorageLocation location() const { return m_location; }
    const QString &parent() const { return m_parent; }

    // The URL's absolute string: the same for every listing of the same file.
    QString id() const;
    // name.ext, or name alone when there is no extension.
    QString fullName() const;
    // The resource path (":/placeholders/….png") of the picture shown until the real preview is
    // ready; empty, after a log line, if the resource is missing from the build.
    QString placeholderURL() const;

    // Same URL and same timestamp: two listings of one file give unequal items.
    bool operator==(const StoredItem &other) const;

private:
    StoredItemType m_itemType;
    StoredFileType m_fileType = StoredFileType::unknown;
    QUrl m_url;
    QString m_ext;
    QString m_name;
    double m_timestamp;
    StorageLocation m_location;
    QString m_parent;
};

// By id only, so that items equal by == hash alike.
size_t qHash(const StoredItem &item, size_t seed = 0);

QString rawValue(StoredItem::StoredItemType type);
QString rawValue(StoredItem::StoredFileType type);
