#include "storage/ConflictCopyNames.h"

#include "drive/NativePath.h"
#include "storage/FileNaming.h"
#include "storage/SyncConflictName.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace {
using Detail = SyncConflictName::Detail;

QString onDiskName(const StoredItem &item)
{
    const QByteArray path = NativePath::fromUrl(item.url());
    return QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
}

bool isConflictCopy(const StoredItem &item)
{
    return item.itemType() == StoredItem::StoredItemType::file && SyncConflictName::parse(onDiskName(item));
}

StoredItemPtr renamed(const StoredItem &item, Detail detail, int number = 0)
{
    FileNaming::ShownName shown = FileNaming::shownName(onDiskName(item), detail);
    if (number > 0)
        shown.name.insert(shown.name.size() - 1, QStringLiteral(", %1").arg(number));
    return std::make_shared<StoredItem>(item.url(), shown.name, shown.ext, true, item.location(),
                                        item.parent());
}

// Indexes of the conflict copies whose names some other item shows too.
QList<qsizetype> clashing(const QList<StoredItemPtr> &items)
{
    QHash<QString, int> counts;
    for (const StoredItemPtr &item : items)
        ++counts[item->fullName()];
    QList<qsizetype> found;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (counts.value(items.at(i)->fullName()) > 1 && isConflictCopy(*items.at(i)))
            found.append(i);
    }
    return found;
}
} // namespace

void ConflictCopyNames::makeDistinct(QList<StoredItemPtr> &items)
{
    for (const Detail detail : {Detail::seconds, Detail::tag}) {
        const QList<qsizetype> clash = clashing(items);
        if (clash.isEmpty())
            return;
        for (const qsizetype i : clash)
            items[i] = renamed(*items.at(i), detail);
    }
    // Still alike: numbered in the order of their names on disk, skipping numbers that are taken.
    QList<qsizetype> clash = clashing(items);
    std::sort(clash.begin(), clash.end(),
              [&](qsizetype a, qsizetype b) { return onDiskName(*items.at(a)) < onDiskName(*items.at(b)); });
    QSet<QString> taken;
    for (const StoredItemPtr &item : std::as_const(items))
        taken.insert(item->fullName());
    for (const qsizetype i : std::as_const(clash)) {
        for (int number = 2;; ++number) {
            StoredItemPtr candidate = renamed(*items.at(i), Detail::tag, number);
            if (!taken.contains(candidate->fullName())) {
                taken.insert(candidate->fullName());
                items[i] = std::move(candidate);
                break;
            }
        }
    }
}
