#include "TreeListingView.h"

#include "ItemCollection.h"
#include "ItemListModel.h"

#include <QListView>
#include <QVBoxLayout>

TreeListingView::TreeListingView(StorageLocation location, const QString &title, QWidget *parent)
    : Screen(parent), m_collection(new ItemCollection(location, FileItemType::all, QString(), this)),
      m_model(new ItemListModel(m_collection, this)), m_list(new QListView)
{
    setTitle(title);
    setDismissesOnBackground(true);
    setDismissesOnLock(true);
    m_list->setObjectName(QStringLiteral("treeListing"));
    m_list->setAccessibleName(title);
    m_list->setModel(m_model);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setUniformItemSizes(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
}

void TreeListingView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    m_collection->loadFirstTime();
}
