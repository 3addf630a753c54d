#pragma once

#include "storage/FolderOperations.h"
#include "storage/StoredItem.h"
#include "ui/common/Screen.h"

#include <QList>
#include <QPointer>

class DeleteItemsState;
class ItemCollection;
class WarningCard;

// Deleting the given files of the collection, which cannot be undone: the warning card, then one
// alert that can still cancel; then the deletion runs, deleteStatus says whether it worked and
// the screen asks to go. While it runs the sheet cannot be closed.
class DeleteFileView : public Screen
{
    Q_OBJECT
public:
    DeleteFileView(const QList<StoredItemPtr> &items, ItemCollection *collection, QWidget *parent = nullptr);

    bool isDeleting() const;

Q_SIGNALS:
    void deleteStatus(bool deleted);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void confirm();
    void deleteItems();
    // One alert for everything that could not be deleted; the sheet goes when it closes.
    void finish(const QList<FolderOperations::Failure> &failures);

    QList<StoredItemPtr> m_items;
    QPointer<ItemCollection> m_collection;
    WarningCard *m_card;
    DeleteItemsState *m_state;
};
