#pragma once

#include "ui/common/Screen.h"

#include <QPointer>
#include <functional>

class ItemCollection;
class WarningCard;

// Deleting the collection's folder, which cannot be undone: the warning card, then two alerts,
// each of which can still cancel; then the deletion runs, onDelete hears whether it worked and
// the screen asks to go. Must be answered (no Escape, no close button).
class DeleteFolderView : public Screen
{
    Q_OBJECT
public:
    DeleteFolderView(ItemCollection *collection, std::function<void(bool deleted)> onDelete,
                     QWidget *parent = nullptr);

    bool isDeleting() const { return m_deleting; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void confirmFirst();
    void confirmSecond();
    void deleteFolder();

    QPointer<ItemCollection> m_collection;
    std::function<void(bool)> m_onDelete;
    WarningCard *m_card;
    bool m_deleting = false;
};
