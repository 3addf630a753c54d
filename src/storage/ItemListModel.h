#pragma once

#include "storage/StoredItem.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>

class ItemCollection;
class SelectedItemManager;

// The items of a collection as a list model for the views; follows every published listing.
// Each item's accessible text says what it is and, in selection mode, whether it is selected.
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
    // The selection the accessible texts follow; nothing for none.
    void setSelection(const SelectedItemManager *selection);
    // "folder", "picture", "PDF", "document" or "file".
    static QString kindName(const StoredItem &item);
    QString spokenName(const StoredItem &item) const;

private:
    void refresh();
    void selectionChanged();

    QPointer<ItemCollection> m_collection;
    QList<StoredItemPtr> m_items;
    QPointer<const SelectedItemManager> m_selection;
};
