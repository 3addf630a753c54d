#include "ui/share/ShareDialog.h"

#include "security/SecretWipe.h"
#include "storage/ShareFolder.h"
#include "storage/StoragePool.h"
#include "storage/StoredItemProvider.h"
#include "ui/common/PasscodeGate.h"
#include "ui/common/UserFormTextField.h"
#include "ui/folder/Caption.h"
#include "ui/share/PreparingFileProgress.h"
#include "ui/share/ShareTargets.h"

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// The pause in which the progress card shows before the targets replace it.
constexpr int presentDelayMs = 500;
} // namespace

ShareDialog::ShareDialog(const QList<StoredItemPtr> &selectedItems, VaultSessionPtr session, QWidget *parent)
    : Screen(parent), m_selectedItems(selectedItems), m_session(std::move(session)),
      m_pin(new UserFormTextField(ProtectFieldType::passcode)), m_gate(new PasscodeGate(this)),
      m_pages(new QStackedWidget)
{
    setObjectName(QStringLiteral("shareDialog"));
    setTitle(tr("Share Items"));
    setDismissesOnBackground(true);
    setDismissesOnLock(true);
    setMinimumWidth(460);

    m_pages->addWidget(makePasscodePage());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
}

ShareDialog::~ShareDialog()
{
    m_pin->wipe();
}

QWidget *ShareDialog::makePasscodePage()
{
    m_pin->setObjectName(QStringLiteral("passcodeField"));
    auto *section = new QGroupBox(tr("Enter Passcode"));
    auto *fields = new QVBoxLayout(section);
    auto *caption = new Caption(tr(
        "Sharing items requires authentication with a passcode; this is the initial passcode you created to "
        "protect the app.\n\nShared items must be decrypted first before they can be shared; those "
        "temporary files are deleted after sharing."));
    setSummary(caption->text());
    fields->addWidget(caption);
    fields->addWidget(m_pin);
    m_storeProblem = new Caption(QString());
    m_storeProblem->setObjectName(QStringLiteral("storeProblem"));
    m_storeProblem->hide();
    fields->addWidget(m_storeProblem);

    auto *buttons = new QDialogButtonBox;
    QPushButton *close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    m_shareButton = buttons->addButton(tr("Share"), QDialogButtonBox::AcceptRole);
    m_shareButton->setObjectName(QStringLiteral("shareButton"));

    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(section);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(close, &QPushButton::clicked, this, &Screen::dismissRequested);
    connect(m_shareButton, &QPushButton::clicked, this, &ShareDialog::submit);
    return page;
}

QWidget *ShareDialog::makeSharePage()
{
    QStringList names;
    for (const StoredItemPtr &item : m_selectedItems)
        names.append(item->fullName());
    auto *items = new QLabel(names.join(QStringLiteral(", ")));
    items->setObjectName(QStringLiteral("itemNames"));
    items->setTextFormat(Qt::PlainText);
    items->setWordWrap(true);
    QFont bold = items->font();
    bold.setBold(true);
    items->setFont(bold);

    m_progress = new PreparingFileProgress;
    auto *progressPage = new QWidget;
    auto *progressLayout = new QVBoxLayout(progressPage);
    progressLayout->addStretch();
    progressLayout->addWidget(m_progress, 0, Qt::AlignCenter);
    progressLayout->addStretch();
    m_shareStack = new QStackedWidget;
    m_shareStack->addWidget(progressPage);
    m_shareStack->addWidget(m_activities);

    auto *buttons = new QDialogButtonBox;
    QPushButton *close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("doneButton"));
    close->setAutoDefault(false);

    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(items);
    layout->addWidget(m_shareStack, 1);
    layout->addWidget(
        new Caption(tr("Copies given to another application stay in Lumisera's private temporary "
                       "folder until Lumisera quits, so that the application can still read them.")));
    layout->addWidget(buttons);

    connect(close, &QPushButton::clicked, this, &Screen::dismissRequested);
    connect(m_activities, &ShareTargets::busyChanged, this, &ShareDialog::showProgress);
    return page;
}

void ShareDialog::submit()
{
    if (m_unlocked)
        return;
    QString typed = m_pin->text();
    const PasscodeGate::Answer answer = m_gate->check(typed, m_session.get());
    m_storeProblem->setText(m_gate->problem());
    m_storeProblem->setVisible(!m_gate->problem().isEmpty());
    if (!PasscodeGate::clearsField(answer)) {
        wipeSecret(typed); // the field holds it still: only let go
        return;
    }
    m_pin->wipe();
    wipeSecret(typed);
    if (answer == PasscodeGate::Answer::open)
        unlock();
    else
        m_pin->setFocus(Qt::OtherFocusReason);
}

void ShareDialog::unlock()
{
    m_unlocked = true;
    const auto tempFolder = std::make_shared<ShareFolder>();
    for (const StoredItemPtr &item : m_selectedItems)
        m_shareSheetItems.append(std::make_shared<StoredItemProvider>(item, tempFolder, m_session));
    m_activities = new ShareTargets(m_shareSheetItems);
    m_pages->addWidget(makeSharePage());
    m_pages->setCurrentIndex(1);
    showProgress(true);
    QTimer::singleShot(presentDelayMs, this, &ShareDialog::showShare);
}

void ShareDialog::showShare()
{
    showProgress(false);
    m_activities->button(ShareTargets::Activity::saveToFolder)->setFocus(Qt::OtherFocusReason);
}

void ShareDialog::showProgress(bool show)
{
    m_shareStack->setCurrentIndex(show ? 0 : 1);
}

void ShareDialog::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    if (m_unlocked)
        return;
    // Only now is there a dialog to take the default button. Return in the field reaches the
    // dialog, which presses it: the one way a passcode is submitted, so never twice.
    m_shareButton->setDefault(true);
    m_pin->setFocus(Qt::OtherFocusReason);
}
