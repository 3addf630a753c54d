#include "ui/folder/DeleteFolderView.h"

#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"
#include "ui/folder/OKCancelAlert.h"
#include "ui/folder/WarningCard.h"

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

DeleteFolderView::DeleteFolderView(ItemCollection *collection, std::function<void(bool deleted)> onDelete,
                                   QWidget *parent)
    : Screen(parent), m_collection(collection), m_onDelete(std::move(onDelete)),
      m_card(new WarningCard(
          tr("Deleting this folder will delete all contained files. There is no way to recover "
             "the contained files once this folder is deleted. There is no way to cancel the "
             "deletion once begun.\n\nAre you sure you want to continue?"),
          tr("Remove Folder"), false))
{
    setObjectName(QStringLiteral("deleteFolderView"));
    setTitle(tr("Remove Folder"));
    setSummary(m_card->text());
    setDismissesInteractively(false);
    setDismissesOnLock(true);
    setMinimumSize(440, 300);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(m_card);
    layout->addStretch();
    connect(m_card, &WarningCard::cancelled, this, &Screen::dismissRequested);
    connect(m_card, &WarningCard::confirmed, this, &DeleteFolderView::confirmFirst);
}

void DeleteFolderView::confirmFirst()
{
    auto *alert = new OKCancelAlert(
        tr("Remove Folder"), tr("Deleting a folder will delete all contents and can not be recovered!"),
        DestructiveButton::ok, this);
    alert->setObjectName(QStringLiteral("firstConfirmation"));
    connect(alert, &OKCancelAlert::ok, this, &DeleteFolderView::confirmSecond);
    alert->open();
}

void DeleteFolderView::confirmSecond()
{
    auto *alert = new OKCancelAlert(tr("Remove Folder"), tr("Are you sure you want to delete this folder?"),
                                    DestructiveButton::ok, this);
    alert->setObjectName(QStringLiteral("secondConfirmation"));
    connect(alert, &OKCancelAlert::ok, this, &DeleteFolderView::deleteFolder);
    alert->open();
}

void DeleteFolderView::deleteFolder()
{
    if (m_deleting)
        return;
    m_deleting = true;
    m_card->showProgress(tr("Deleting folder and contents"));
    if (!m_collection) {
        if (m_onDelete)
            m_onDelete(false);
        Q_EMIT dismissRequested();
        return;
    }
    const auto remove = [operations = m_collection->operations()]() mutable {
        return operations.deleteFolder();
    };
    const auto finish = [this](bool deleted) {
        if (m_onDelete)
            m_onDelete(deleted);
        Q_EMIT dismissRequested();
    };
    StoragePool::runThen(this, remove, finish, [finish] { finish(false); });
}

void DeleteFolderView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    // The harmless answer is the one a stray Return gives.
    m_card->cancelButton()->setFocus(Qt::OtherFocusReason);
}
