#include "ui/settings/CheckVaultView.h"

#include "ui/settings/CheckVaultState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CheckVaultView::CheckVaultView(VaultSessionPtr session, QWidget *parent)
    : Screen(parent), m_session(std::move(session)), m_state(new CheckVaultState(this)), m_status(new QLabel),
      m_busy(new QProgressBar), m_report(new QPlainTextEdit), m_cancel(new QPushButton(tr("Cancel"))),
      m_close(new QPushButton(tr("Close")))
{
    setTitle(tr("Check Vault"));
    setSummary(tr("Looks at every stored file and reports what is wrong, changing nothing."));
    auto *explanation = new QLabel(summary());
    explanation->setWordWrap(true);
    setDismissesOnLock(true);
    setDismissesOnBackground(true);
    m_status->setObjectName(QStringLiteral("checkVaultStatus"));
    m_status->setWordWrap(true);
    m_busy->setObjectName(QStringLiteral("checkVaultProgress"));
    m_busy->setRange(0, 0);
    m_busy->setTextVisible(false);
    m_busy->setAccessibleName(tr("Checking"));
    m_report->setObjectName(QStringLiteral("checkVaultReport"));
    m_report->setReadOnly(true);
    m_report->setAccessibleName(tr("Report"));
    m_cancel->setObjectName(QStringLiteral("checkVaultCancel"));
    m_close->setObjectName(QStringLiteral("checkVaultClose"));
    connect(m_cancel, &QPushButton::clicked, m_state, &CheckVaultState::cancel);
    connect(m_close, &QPushButton::clicked, this, &Screen::dismissRequested);
    connect(m_state, &CheckVaultState::phaseChanged, this, &CheckVaultView::redraw);
    connect(m_state, &CheckVaultState::progressChanged, this, &CheckVaultView::redraw);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addSpacing(8);
    layout->addWidget(m_status);
    layout->addWidget(m_busy);
    layout->addWidget(m_report, 1);
    layout->addStretch(); // takes the room of a report that a clean vault does not have
    layout->addLayout(buttons);
    setMinimumSize(480, 360);
    redraw();
}

void CheckVaultView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    if (m_state->phase() == CheckVaultState::Phase::idle)
        m_state->start(m_session);
}

void CheckVaultView::redraw()
{
    const bool running = m_state->isRunning();
    m_status->setText(m_state->statusText());
    m_busy->setVisible(running);
    m_cancel->setVisible(running);
    m_cancel->setEnabled(m_state->canCancel());
    m_close->setVisible(!running);
    // The outcome is read out with the button that has the focus when the check ends.
    m_close->setAccessibleDescription(running ? QString() : m_state->statusText());
    const QStringList lines = m_state->reportLines();
    m_report->setVisible(!lines.isEmpty());
    m_report->setPlainText(lines.join(u'\n'));
    setDismissesInteractively(!running);
}
