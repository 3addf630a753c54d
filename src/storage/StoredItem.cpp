#include "storage/StoredItem.h"

#include "core/Logging.h"
#include "core/SharedConstants.h"
#include "drive/FileSystemError.h"
#include "drive/NativePath.h"
#include "storage/FileNaming.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <sys/stat.h>

// Outside any namespace, as the resource system asks.
static void initPlaceholderResources()
{
    Q_INIT_RESOURCE(placeholders);
}

namespace {
using FileType = StoredItem::StoredFileType;
using ItemType = StoredItem::StoredItemType;

// 2001-01-01 00:00:00 UTC in Unix seconds.
constexpr double ReferenceDate = 978307200.0;

const QStringList contentExtensions{QStringLiteral("doc"),   QStringLiteral("docx"), QStringLiteral("rtf"),
                                    QStringLiteral("pages"), QStringLiteral("txt"),  QStringLiteral("mp4"),
                                    QStringLiteral("mov"),   QStringLiteral("m4v")};

double secondsSinceReferenceDate()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return double(std::chrono::duration_cast<std::chrono::microseconds>(now).count()) / 1e6 - ReferenceDate;
}

QString lastComponent(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString placeholderName(FileType type)
{
    switch (type) {
    case FileType::image:
        return QStringLiteral("imagePlaceholder");
    case FileType::pdf:
        return QStringLiteral("placeholderPDF");
    case FileType::content:
        return QStringLiteral("contentPlaceholder");
    case FileType::unknown:
        break;
    }
    return QStringLiteral("unknowPlaceholder");
}
} // namespace

StoredItem::StoredItem(const QUrl &url, const QString &name, const QString &ext, bool isFile,
                       StorageLocation location, const QString &parent)
    : m_itemType(isFile ? ItemType::file : ItemType::directory), m_url(url), m_ext(ext), m_name(name),
      m_timestamp(secondsSinceReferenceDate()), m_location(location), m_parent(parent)
{
    if (isFile)
        m_fileType = fileType(ext);
}

StoredItemPtr StoredItem::makeStoredItem(const QUrl &url, StorageLocation location, const QString &parent)
{
    const QString path = url.toLocalFile();
    struct stat status
    {
    };
    if (::lstat(NativePath::fromUrl(url).constData(), &status) != 0)
        throw FileSystemError::fromErrno(QStringLiteral("Could not read the attributes of"), path);
    if (S_ISDIR(status.st_mode))
        return std::make_shared<StoredItem>(url, lastComponent(path), QString(), false, location, parent);
    // Replaced since the listing by a link or a special file: not an item of the vault.
    if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
        throw FileSystemError::fromErrno(QStringLiteral("Not a regular file:"), path);
    }

    const FileNaming::ShownName shown = FileNaming::shownName(lastComponent(path));
    return std::make_shared<StoredItem>(url, shown.name, shown.ext, true, location, parent);
}

StoredItem::StoredFileType StoredItem::fileType(const QString &ext)
{
    const QString lower = ext.toLower();
    if (SharedConstants::imageExtensions.contains(lower))
        return FileType::image;
    if (contentExtensions.contains(lower))
        return FileType::content;
    if (lower == QStringLiteral("pdf"))
        return FileType::pdf;
    return FileType::unknown;
}

QString StoredItem::id() const
{
    return m_url.toString(QUrl::FullyEncoded);
}

QString StoredItem::fullName() const
{
    return m_ext.trimmed().isEmpty() ? m_name : m_name + u'.' + m_ext;
}

QString StoredItem::placeholderURL() const
{
    static std::once_flag initialised;
    std::call_once(initialised, initPlaceholderResources);
    const QString resource = placeholderName(m_fileType) + QStringLiteral(".png");
    const QString path = QStringLiteral(":/placeholders/") + resource;
    if (QFile::exists(path))
        return path;
    fatalErrorMsg(QStringLiteral("missing placeholder resource for ") + resource);
    return {};
}

bool StoredItem::operator==(const StoredItem &other) const
{
    return m_url == other.m_url && m_timestamp == other.m_timestamp;
}

size_t qHash(const StoredItem &item, size_t seed)
{
    return qHash(item.id(), seed);
}

QString rawValue(StoredItem::StoredItemType type)
{
    return type == ItemType::file ? QStringLiteral("file") : QStringLiteral("directory");
}

QString rawValue(StoredItem::StoredFileType type)
{
    switch (type) {
    case FileType::image:
        return QStringLiteral("image");
    case FileType::pdf:
        return QStringLiteral("pdf");
    case FileType::content:
        return QStringLiteral("content");
    case FileType::unknown:
        break;
    }
    return QStringLiteral("unknown");
}
