#include "ui/settings/ChangePasscodeView.h"

#include "ui/settings/ChangePasscodeState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ChangePasscodeView::ChangePasscodeView(bool resuming, QWidget *parent)
    : Screen(parent), m_state(new ChangePasscodeState(resuming, this)), m_explanation(new QLabel),
      m_current(makeField(tr("Current passcode"), QStringLiteral("currentPasscodeField"))),
      m_new(makeField(tr("New passcode"), QStringLiteral("newPasscodeField"))),
      m_repeated(makeField(tr("Repeat new passcode"), QStringLiteral("repeatNewPasscodeField"))),
      m_bar(new QProgressBar), m_progress(new QLabel), m_message(new QLabel),
      m_start(new QPushButton(resuming ? tr("Resume") : tr("Change Passcode"))),
      m_cancel(new QPushButton(tr("Cancel"))), m_close(new QPushButton(tr("Close")))
{
    setTitle(resuming ? tr("Finish Changing the Passcode") : tr("Change Passcode"));
    setDismissesOnLock(true);
    m_explanation->setText(
        resuming
            ? tr("A passcode change did not finish. The vault opens again once it has: enter the current "
                 "passcode to go on where it stopped.")
            : tr("Every file and PIN in both folder trees is encrypted again with the new passcode. Each "
                 "file keeps opening with the old or the new passcode at every moment; if the change is "
                 "stopped, it goes on where it stopped."));
    setSummary(m_explanation->text());
    m_explanation->setWordWrap(true);
    m_message->setWordWrap(true);
    m_message->setObjectName(QStringLiteral("changePasscodeMessage"));
    m_progress->setObjectName(QStringLiteral("changePasscodeProgress"));
    m_bar->setRange(0, 1000);
    m_bar->setAccessibleName(tr("Progress"));
    m_start->setObjectName(QStringLiteral("startChangeButton"));
    m_cancel->setObjectName(QStringLiteral("cancelChangeButton"));
    m_close->setObjectName(QStringLiteral("closeChangeButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_start);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_explanation);
    layout->addWidget(m_current);
    layout->addWidget(m_new);
    layout->addWidget(m_repeated);
    layout->addWidget(m_bar);
    layout->addWidget(m_progress);
    layout->addWidget(m_message);
    layout->addStretch();
    layout->addLayout(buttons);
    // Wide enough for the explanation to read as a paragraph, not a column.
    setMinimumWidth(460);
    connectState();
    showState();
}

QLineEdit *ChangePasscodeView::makeField(const QString &placeholder, const QString &objectName)
{
    auto *field = new QLineEdit;
    field->setEchoMode(QLineEdit::Password);
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    field->setObjectName(objectName);
    return field;
}

void ChangePasscodeView::connectState()
{
    connect(m_current, &QLineEdit::textChanged, m_state, &ChangePasscodeState::setCurrent);
    connect(m_new, &QLineEdit::textChanged, m_state, &ChangePasscodeState::setNewPasscode);
    connect(m_repeated, &QLineEdit::textChanged, m_state, &ChangePasscodeState::setRepeated);
    connect(m_start, &QPushButton::clicked, this, [this] {
        m_started.start();
        m_state->start();
    });
    connect(m_cancel, &QPushButton::clicked, m_state, &ChangePasscodeState::cancel);
    connect(m_close, &QPushButton::clicked, this, &Screen::dismissRequested);
    connect(m_state, &ChangePasscodeState::entriesChanged, this, &ChangePasscodeView::showState);
    connect(m_state, &ChangePasscodeState::runningChanged, this, &ChangePasscodeView::showState);
    connect(m_state, &ChangePasscodeState::messageChanged, this, &ChangePasscodeView::showState);
    connect(m_state, &ChangePasscodeState::progressChanged, this, [this] {
        const PasscodeChange::Progress progress = m_state->progress();
        m_bar->setValue(progress.bytesTotal > 0 ? int(progress.bytesDone * 1000 / progress.bytesTotal) : 0);
        m_progress->setText(ChangePasscodeState::describe(progress, m_started.elapsed()));
    });
    connect(m_state, &ChangePasscodeState::finished, this, &ChangePasscodeView::showFinished);
}

void ChangePasscodeView::showState()
{
    const bool running = m_state->isRunning();
    const bool resuming = m_state->isResuming();
    m_current->setEnabled(!running);
    m_new->setVisible(!resuming || m_state->needsNewPasscode());
    m_new->setEnabled(!running);
    m_repeated->setVisible(!resuming);
    m_repeated->setEnabled(!running);
    m_bar->setVisible(running);
    m_progress->setVisible(running);
    m_start->setText(resuming ? tr("Resume") : tr("Change Passcode"));
    m_start->setEnabled(m_state->canStart());
    m_cancel->setVisible(running);
    // A change that stopped keeps the vault closed until it is finished.
    m_close->setVisible(!running);
    setDismissesInteractively(!running);
    m_message->setText(m_state->message());
}

void ChangePasscodeView::showFinished(const QStringList &damaged)
{
    m_current->hide();
    m_new->hide();
    m_repeated->hide();
    m_start->hide();
    m_cancel->hide();
    m_bar->hide();
    m_close->show();
    QString text = tr("The passcode was changed. Unlock with the new passcode.");
    if (!damaged.isEmpty())
        text += u'\n' + tr("These files did not open with the old passcode and were left as they were:") +
                u'\n' + damaged.join(u'\n');
    m_message->setText(text);
    setDismissesInteractively(true);
}
