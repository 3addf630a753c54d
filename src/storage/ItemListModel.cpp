#include "storage/ItemListModel.h"

#include "storage/ItemCollection.h"
#include "storage/SelectedItemManager.h"

ItemListModel::ItemListModel(ItemCollection *collection, QObject *parent)
    : QAbstractListModel(parent), m_collection(collection)
{
    if (collection) {
        m_items = collection->items();
        connect(collection, &ItemCollection::itemsChanged, this, &ItemListModel::refresh);
    }
}

int ItemListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant ItemListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const StoredItem &item = *m_items.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case FullNameRole:
        return item.fullName();
    case Qt::AccessibleTextRole:
        return spokenName(item);
    case IdRole:
        return item.id();
    case NameRole:
        return item.name();
    case ExtensionRole:
        return item.ext();
    case FileTypeRole:
        return rawValue(item.fileType());
    case IsFolderRole:
        return item.itemType() == StoredItem::StoredItemType::directory;
    case UrlRole:
        return item.url();
    default:
        return {};
    }
}

QHash<int, QByteArray> ItemListModel::roleNames() const
{
    return {{Qt::DisplayRole, "display"}, {IdRole, "id"},         {FullNameRole, "fullName"},
            {NameRole, "name"},           {ExtensionRole, "ext"}, {FileTypeRole, "fileType"},
            {IsFolderRole, "isFolder"},   {UrlRole, "url"}};
}

StoredItemPtr ItemListModel::itemAt(int row) const
{
    return row >= 0 && row < m_items.size() ? m_items.at(row) : nullptr;
}

void ItemListModel::refresh()
{
    // A listing is replaced whole; the grid keeps its scroll position across a reset.
    beginResetModel();
    m_items = m_collection ? m_collection->items() : QList<StoredItemPtr>();
    endResetModel();
}

void ItemListModel::setSelection(const SelectedItemManager *selection)
{
    if (m_selection)
        disconnect(m_selection, nullptr, this, nullptr);
    m_selection = selection;
    if (selection) {
        connect(selection, &SelectedItemManager::selectedItemIDsChanged, this,
                &ItemListModel::selectionChanged);
        connect(selection, &SelectedItemManager::enabledChanged, this, &ItemListModel::selectionChanged);
    }
    selectionChanged();
}

void ItemListModel::selectionChanged()
{
    if (!m_items.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_items.size()) - 1, 0), {Qt::AccessibleTextRole});
}

QString ItemListModel::kindName(const StoredItem &item)
{
    if (item.itemType() == StoredItem::StoredItemType::directory)
        return tr("folder");
    switch (item.fileType()) {
    case StoredItem::StoredFileType::image:
        return tr("picture");
    case StoredItem::StoredFileType::pdf:
        return tr("PDF");
    case StoredItem::StoredFileType::content:
        return tr("document");
    case StoredItem::StoredFileType::unknown:
        break;
    }
    return tr("file");
}

QString ItemListModel::spokenName(const StoredItem &item) const
{
    const QString named = tr("%1, %2").arg(item.fullName(), kindName(item));
    // Only files are picked in selection mode.
    if (!m_selection || !m_selection->isEnabled() || item.itemType() == StoredItem::StoredItemType::directory)
        return named;
    return m_selection->isSelected(item) ? tr("%1, selected").arg(named) : tr("%1, not selected").arg(named);
}
