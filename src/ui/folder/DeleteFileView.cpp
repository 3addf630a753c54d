#include "DeleteFileView.h"

#include "ItemCollection.h"
#include "Logging.h"
#include "OKCancelAlert.h"
#include "StoragePool.h"
#include "WarningCard.h"

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

DeleteFileView::DeleteFileView(const QList<StoredItemPtr> &items, ItemCollection *collection, QWidget *parent)
    : Screen(parent), m_items(items), m_collection(collection),
      m_card(new WarningCard(tr("Deleting files cannot be undone; there is no way to recover files once "
                                "deleted.\n\nAre you sure you want to continue?"),
                             tr("Delete Items"), true))
{
    setObjectName(QStringLiteral("deleteFileView"));
    setTitle(tr("Delete Items"));
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

void DeleteFileView::deleteItems()
{
    if (m_deleting)
        return;
    m_deleting = true;
    // Closing now would drop the outcome the folder screen waits for.
    setDismissesInteractively(false);
    m_card->showProgress(tr("Deleting.. "));
    if (!m_collection) {
        finish(false);
        return;
    }
    const auto remove = [operations = m_collection->operations(), items = m_items]() mutable {
        return operations.deleteFiles(items);
    };
    StoragePool::runThen(
        this, remove, [this](bool deleted) { finish(deleted); }, [this] { finish(false); });
}

void DeleteFileView::finish(bool deleted)
{
    if (!deleted)
        logError(QStringLiteral("something went bad"), QStringLiteral(__FILE__), QStringLiteral("body"));
    Q_EMIT deleteStatus(deleted);
    Q_EMIT dismissRequested();
}

void DeleteFileView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    m_card->cancelButton()->setFocus(Qt::OtherFocusReason);
}
