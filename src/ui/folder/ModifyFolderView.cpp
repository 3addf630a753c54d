#include "ui/folder/ModifyFolderView.h"

#include "security/SecretWipe.h"
#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"
#include "ui/common/PasscodeGate.h"
#include "ui/common/Symbols.h"
#include "ui/folder/Caption.h"
#include "ui/folder/EntrySheet.h"
#include "ui/folder/NewFolderState.h"
#include "ui/folder/OKAlert.h"

#include <QCoreApplication>
#include <QFuture>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

ModifyFolderView::ModifyFolderView(ItemCollection *collection, QWidget *parent)
    : Screen(parent), m_collection(collection), m_pinState(new Caption(QString())),
      m_pinButton(new QPushButton),
      m_passcodeSheet(
          new EntrySheet(tr("Enter Passcode"),
                         tr("Modifying this folder requires authentication with a passcode; this is "
                            "the initial passcode you created to protect the app."),
                         ProtectFieldType::passcode, tr("Continue"), this)),
      m_pinSheet(new EntrySheet(tr("Create Pin"), tr("Enter a pin to further protect this folder's items."),
                                ProtectFieldType::pin, tr("Create"), this)),
      m_gate(new PasscodeGate(this))
{
    setObjectName(QStringLiteral("modifyFolderView"));
    setTitle(tr("Modify Folder"));
    setDismissesOnBackground(true);
    setDismissesOnLock(true);
    setMinimumWidth(420);
    m_pinState->setObjectName(QStringLiteral("pinState"));
    m_pinButton->setObjectName(QStringLiteral("pinButton"));
    m_passcodeSheet->setObjectName(QStringLiteral("passcodeSheet"));
    m_pinSheet->setObjectName(QStringLiteral("pinSheet"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeader());
    layout->addWidget(m_pinState);
    layout->addWidget(m_pinButton, 0, Qt::AlignLeading);
    layout->addStretch();

    connect(m_pinButton, &QPushButton::clicked, this, &ModifyFolderView::showPasscodeSheet);
    connect(m_passcodeSheet, &EntrySheet::submitted, this, &ModifyFolderView::checkPasscode);
    connect(m_pinSheet, &EntrySheet::submitted, this, &ModifyFolderView::createPin);
    if (m_collection)
        connect(m_collection, &ItemCollection::pinChanged, this, &ModifyFolderView::updatePinState);
    updatePinState();
}

QWidget *ModifyFolderView::makeHeader()
{
    const QString folderName =
        m_collection ? m_collection->folderPath().section(QLatin1Char('/'), -1) : QString();
    auto *header = new QWidget;
    auto *title = new QLabel(tr("Details for '%1'").arg(folderName));
    title->setObjectName(QStringLiteral("detailsHeader"));
    title->setTextFormat(Qt::PlainText);
    title->setWordWrap(true);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *close = new QToolButton;
    close->setObjectName(QStringLiteral("closeButton"));
    close->setIcon(Symbols::icon(QStringLiteral("xmark.circle.fill")));
    close->setAutoRaise(true);
    close->setToolTip(tr("Close"));
    close->setAccessibleName(tr("Close"));
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title, 1);
    layout->addWidget(close, 0, Qt::AlignTop);
    connect(close, &QToolButton::clicked, this, &Screen::dismissRequested);
    return header;
}

void ModifyFolderView::updatePinState()
{
    const bool hasPin = m_collection && m_collection->hasPin();
    m_pinState->setText(hasPin ? tr("This folder's contents are encrypted and protected by an unique pin.")
                               : tr("This folder's contents are encrypted but have no pin set."));
    m_pinButton->setText(hasPin ? tr("Remove Pin") : tr("Add Pin"));
    m_pinButton->setAccessibleName(m_pinButton->text());
    setSummary(m_pinState->text());
}

void ModifyFolderView::showPasscodeSheet()
{
    m_passcodeSheet->confirmButton()->setEnabled(true);
    m_passcodeSheet->field()->setReadOnly(false);
    m_passcodeSheet->open();
}

void ModifyFolderView::checkPasscode()
{
    QString typed = m_passcodeSheet->field()->text();
    const PasscodeGate::Answer answer =
        m_gate->check(typed, m_collection ? m_collection->session().get() : nullptr);
    m_passcodeSheet->setProblem(m_gate->problem());
    if (!PasscodeGate::clearsField(answer)) {
        wipeSecret(typed); // the field holds it still: only let go
        return;
    }
    m_passcodeSheet->field()->wipe();
    wipeSecret(typed);
    if (answer == PasscodeGate::Answer::wrong) {
        m_passcodeSheet->field()->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!m_collection || !m_collection->hasPin()) {
        m_passcodeSheet->hide();
        m_pinSheet->confirmButton()->setEnabled(true);
        m_pinSheet->open();
        return;
    }
    // Nothing when it went; otherwise why not, empty when no more is known.
    const auto remove = [operations = m_collection->operations()]() mutable -> std::optional<QString> {
        if (operations.removePin())
            return std::nullopt;
        return operations.treeRefusal();
    };
    StoragePool::runThen(
        this, remove, [this](const std::optional<QString> &failure) { pinChanged(failure); },
        [this] { pinChanged(QString()); });
}

void ModifyFolderView::createPin(const QString &typed)
{
    if (!NewFolderState::isPinLongEnough(typed) || !m_collection)
        return;
    QString pin = typed.trimmed();
    m_pinSheet->confirmButton()->setEnabled(false);
    m_pinSheet->field()->wipe();
    const auto create = [operations = m_collection->operations(), pin,
                         path = m_collection->folderPath()]() mutable {
        if (operations.createPin(pin, path))
            return std::optional<QString>();
        return std::optional<QString>(operations.treeRefusal());
    };
    StoragePool::runThen(
        this, create, [this](const std::optional<QString> &failure) { pinChanged(failure); },
        [this] { pinChanged(QString()); });
    wipeSecret(pin);
}

void ModifyFolderView::pinChanged(const std::optional<QString> &failure)
{
    if (!failure) {
        Q_EMIT dismissRequested();
        return;
    }
    // The sheet stays, so that the person sees the folder is as it was and may try again.
    m_pinSheet->confirmButton()->setEnabled(true);
    auto *alert = new OKAlert(
        tr("Folder Error"),
        failure->isEmpty() ? tr("An error occurred while changing the folder's PIN") : *failure, this);
    alert->setObjectName(QStringLiteral("folderErrorAlert"));
    alert->open();
}

void ModifyFolderView::closeSheets()
{
    // Sheets are windows of their own: hiding this screen would leave them open.
    m_passcodeSheet->hide();
    m_pinSheet->hide();
}

void ModifyFolderView::hideEvent(QHideEvent *event)
{
    Screen::hideEvent(event);
    if (!event->spontaneous())
        closeSheets();
}
