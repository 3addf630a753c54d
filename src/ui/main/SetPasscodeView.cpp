#include "ui/main/SetPasscodeView.h"

#include "ui/common/UserFormTextField.h"
#include "ui/main/SetPasscodeState.h"

#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

SetPasscodeView::SetPasscodeView(QWidget *parent)
    : Screen(parent), m_state(new SetPasscodeState(this)),
      m_passcodeField(new UserFormTextField(ProtectFieldType::passcode)),
      m_repeatField(new UserFormTextField(ProtectFieldType::repeatPasscode)),
      m_setButton(new QPushButton(tr("Set passcode")))
{
    setTitle(tr("Passcode"));
    setDismissesOnBackground(true);
    m_passcodeField->setObjectName(QStringLiteral("passcodeField"));
    m_repeatField->setObjectName(QStringLiteral("repeatPasscodeField"));
    m_setButton->setObjectName(QStringLiteral("setPasscodeButton"));
    m_setButton->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeSection());
    layout->addStretch();
    connectState();
    updateButton();
}

QWidget *SetPasscodeView::makeSection()
{
    auto *section = new QGroupBox(tr("Security"));
    section->setObjectName(QStringLiteral("securitySection"));
    auto *heading = new QLabel(tr("Passcode"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);

    auto *explanation = new QLabel(
        tr("A passcode is required to protect items stored within the app's protected folders. This "
           "passcode will be used to encrypt all files stored within the app. If the passcode is lost, "
           "the files will be unrecoverable.\n\nPasscode should be 8 characters or more, with a mix of "
           "numbers and characters."));
    explanation->setObjectName(QStringLiteral("passcodeExplanation"));
    setSummary(explanation->text());
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    QFont captionFont = explanation->font();
    captionFont.setPointSizeF(captionFont.pointSizeF() * 0.9);
    explanation->setFont(captionFont);

    auto *layout = new QVBoxLayout(section);
    layout->addWidget(heading);
    layout->addWidget(explanation);
    layout->addWidget(m_passcodeField);
    layout->addWidget(m_repeatField);
    layout->addWidget(m_setButton, 0, Qt::AlignLeading);
    return section;
}

void SetPasscodeView::connectState()
{
    connect(m_passcodeField, &QLineEdit::textChanged, m_state, &SetPasscodeState::setPasscodeText);
    connect(m_repeatField, &QLineEdit::textChanged, m_state, &SetPasscodeState::setPasscode2Text);
    // The state empties the entries after a save; the fields follow.
    connect(m_state, &SetPasscodeState::passcodeChanged, this, [this] {
        if (m_passcodeField->text() != m_state->passcode())
            m_passcodeField->setText(m_state->passcode());
    });
    connect(m_state, &SetPasscodeState::passcode2Changed, this, [this] {
        if (m_repeatField->text() != m_state->passcode2())
            m_repeatField->setText(m_state->passcode2());
    });
    connect(m_state, &SetPasscodeState::canSetChanged, this, &SetPasscodeView::updateButton);
    connect(m_state, &SetPasscodeState::savingChanged, this, &SetPasscodeView::updateButton);
    connect(m_setButton, &QPushButton::clicked, m_state, &SetPasscodeState::setPasscode);
    connect(m_passcodeField, &QLineEdit::returnPressed, m_repeatField, [this] { m_repeatField->setFocus(); });
    connect(m_repeatField, &QLineEdit::returnPressed, m_state, &SetPasscodeState::setPasscode);
    connect(m_state, &SetPasscodeState::succeeded, this, &Screen::dismissRequested);
    connect(m_state, &SetPasscodeState::failed, this, &SetPasscodeView::showKeychainFailure);
}

void SetPasscodeView::updateButton()
{
    m_setButton->setEnabled(m_state->canSet() && !m_state->isSaving());
}

void SetPasscodeView::showKeychainFailure()
{
    auto *alert = new QMessageBox(QMessageBox::Warning, tr("Keychain Error"),
                                  tr("Unable to save passcode to keychain"), QMessageBox::Ok, this);
    alert->setObjectName(QStringLiteral("keychainErrorAlert"));
    alert->setAccessibleDescription(alert->text());
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->open();
}

void SetPasscodeView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    m_passcodeField->setFocus(Qt::OtherFocusReason);
}

void SetPasscodeView::hideEvent(QHideEvent *event)
{
    Screen::hideEvent(event);
    // A minimised window hides spontaneously; only a closed sheet forgets what was typed.
    if (!event->spontaneous())
        m_state->clear();
}
