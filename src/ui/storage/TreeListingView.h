#pragma once

#include "Screen.h"
#include "StorageLocation.h"

class ItemCollection;
class ItemListModel;
class QListView;

// A plain listing of one tree's root folders, loaded when first shown.
class TreeListingView : public Screen
{
    Q_OBJECT
public:
    TreeListingView(StorageLocation location, const QString &title, QWidget *parent = nullptr);

    ItemCollection *collection() const { return m_collection; }
    QListView *listView() const { return m_list; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    ItemCollection *m_collection;
    ItemListModel *m_model;
    QListView *m_list;
};
