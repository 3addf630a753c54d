#pragma once

#include "StoredItem.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>

class ItemCollection;

// The items of a collection as a list model for the views; follows every published listing.
class ItemListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        FullNameRole,
        NameRole,
        ExtensionRole,
        FileTypeRole,
        IsFolderRole,
        UrlRole,
    };

    explicit ItemListModel(ItemCollection *collection, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    StoredItemPtr itemAt(int row) const;

private:
    void refresh();

    QPointer<ItemCollection> m_collection;
    QList<StoredItemPtr> m_items;
};
