#include "ui/folder/EnterPin.h"

#include "ui/common/UserFormTextField.h"
#include "ui/folder/Caption.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHideEvent>
#include <QPushButton>
#include <QVBoxLayout>

EnterPin::EnterPin(QWidget *parent) : Screen(parent), m_pinField(new UserFormTextField(ProtectFieldType::pin))
{
    setObjectName(QStringLiteral("enterPin"));
    setTitle(tr("Enter Pin"));
    setDismissesOnBackground(true);
    setDismissesOnLock(true);
    setDismissesInteractively(false);
    setMinimumSize(420, 220);
    m_pinField->setObjectName(QStringLiteral("pinField"));

    auto *section = new QGroupBox(tr("Enter Pin"));
    auto *fields = new QVBoxLayout(section);
    auto *caption = new Caption(tr("This folder's contents are protected by an unique pin you entered when "
                                   "creating this folder. It is not the app password."));
    setSummary(caption->text());
    fields->addWidget(caption);
    fields->addWidget(m_pinField);

    auto *buttons = new QDialogButtonBox;
    QPushButton *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    m_continueButton = buttons->addButton(tr("Continue"), QDialogButtonBox::AcceptRole);
    QPushButton *proceed = m_continueButton;
    proceed->setObjectName(QStringLiteral("continueButton"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(section);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(cancel, &QPushButton::clicked, this, [this] {
        m_pinField->wipe();
        Q_EMIT dismissRequested();
    });
    connect(proceed, &QPushButton::clicked, this, &EnterPin::submit);
}

void EnterPin::submit()
{
    const QString pin = m_pinField->text().trimmed();
    m_pinField->wipe();
    Q_EMIT dismissRequested();
    Q_EMIT pinEntered(pin);
}

void EnterPin::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    // Only now is there a dialog to take the default button.
    m_continueButton->setDefault(true);
    m_pinField->setFocus(Qt::OtherFocusReason);
}

void EnterPin::hideEvent(QHideEvent *event)
{
    Screen::hideEvent(event);
    if (!event->spontaneous())
        m_pinField->wipe();
}
