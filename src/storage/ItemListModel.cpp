#include "ItemListModel.h"

#include "ItemCollection.h"

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
