#include "ui/folder/DeleteFileView.h"

#include "core/Logging.h"
#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"
#include "ui/folder/DeleteItemsState.h"
#include "ui/folder/OKAlert.h"
#include "ui/folder/OKCancelAlert.h"
#include "ui/folder/WarningCard.h"

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QStringList namesOf(const QList<StoredItemPtr> &items)
{
    QStringList names;
    for (const StoredItemPtr &item : items)
        names.append(item->fullName());
    return names;
}

} // namespace

DeleteFileView::DeleteFileView(const QList<StoredItemPtr> &items, ItemCollection *collection, QWidget *parent)
    : Screen(parent), m_items(items), m_collection(collection),
      m_card(new WarningCard(tr("Deleting files cannot be undone; there is no way to recover files once "
                                "deleted.\n\nAre you sure you want to continue?"),
                             tr("Delete Items"), true)),
      m_state(new DeleteItemsState(namesOf(items), this))
{
    setObjectName(QStringLiteral("deleteFileView"));
    setTitle(tr("Delete Items"));
    setSummary(m_card->text());
    setDismissesOnLock(true);
    setMinimumSize(420, 240);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(m_card);
    layout->addStretch();
    connect(m_card, &WarningCard::cancelled, this, &Screen::dismissRequested);
    connect(m_card, &WarningCard::confirmed, this, &DeleteFileView::confirm);
}

void DeleteFileView::confirm()
{
    auto *alert = new OKCancelAlert(tr("Delete Items"), tr("Deleting files can not be undone!"),
                                    DestructiveButton::ok, this);
    alert->setObjectName(QStringLiteral("firstConfirmation"));
    connect(alert, &OKCancelAlert::ok, this, &DeleteFileView::deleteItems);
    alert->open();
}

bool DeleteFileView::isDeleting() const
{
    return m_state->isDeleting();
}

void DeleteFileView::deleteItems()
{
    if (!m_state->start())
        return;
    // Closing now would drop the outcome the folder screen waits for.
    setDismissesInteractively(false);
    m_card->showProgress(tr("Deleting.. "));
    const QList<FolderOperations::Failure> none = m_state->folderGone();
    if (!m_collection) {
        finish(none);
        return;
    }
    const auto remove = [operations = m_collection->operations(), items = m_items]() mutable {
        operations.deleteFiles(items);
        return operations.deleteFailures();
    };
    StoragePool::runThen(
        this, remove, [this](const QList<FolderOperations::Failure> &failures) { finish(failures); },
        [this, none] { finish(none); });
}

void DeleteFileView::finish(const QList<FolderOperations::Failure> &failures)
{
    if (failures.isEmpty()) {
        Q_EMIT deleteStatus(true);
        Q_EMIT dismissRequested();
        return;
    }
    logError(QStringLiteral("something went bad"), QStringLiteral(__FILE__), QStringLiteral("body"));
    auto *alert = new OKAlert(tr("Delete Items"), m_state->failureText(failures), this);
    alert->setObjectName(QStringLiteral("deleteFailureAlert"));
    connect(alert, &OKAlert::ok, this, [this] {
        Q_EMIT deleteStatus(false);
        Q_EMIT dismissRequested();
    });
    alert->open();
}

void DeleteFileView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    m_card->cancelButton()->setFocus(Qt::OtherFocusReason);
}
