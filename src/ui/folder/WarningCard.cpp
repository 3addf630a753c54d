#include "ui/folder/WarningCard.h"

#include "ui/folder/Caption.h"
#include "ui/folder/OKCancelAlert.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

WarningCard::WarningCard(const QString &text, const QString &confirmText, bool boldButtons, QWidget *parent)
    : QFrame(parent), m_cancel(new QPushButton(tr("Cancel"))), m_confirm(new QPushButton(confirmText)),
      m_buttons(new QWidget), m_progress(new QWidget), m_progressLabel(new QLabel), m_bar(new QProgressBar),
      m_text(text)
{
    setObjectName(QStringLiteral("warningCard"));
    setFrameShape(QFrame::StyledPanel);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    auto *heading = new QLabel(tr("Warning"));
    QFont headline = heading->font();
    headline.setBold(true);
    headline.setPointSizeF(headline.pointSizeF() * 1.2);
    heading->setFont(headline);
    auto *message = new Caption(text);
    message->setObjectName(QStringLiteral("warningText"));
    auto *divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);

    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_confirm->setObjectName(QStringLiteral("confirmButton"));
    if (boldButtons) {
        for (QPushButton *button : {m_cancel, m_confirm}) {
            QFont bold = button->font();
            bold.setBold(true);
            button->setFont(bold);
        }
    }
    auto *buttons = new QHBoxLayout(m_buttons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    buttons->addWidget(m_confirm);

    m_progressLabel->setObjectName(QStringLiteral("progressLabel"));
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 0);
    m_bar->setTextVisible(false);
    auto *progress = new QHBoxLayout(m_progress);
    progress->setContentsMargins(0, 0, 0, 0);
    progress->addWidget(m_bar, 1);
    progress->addWidget(m_progressLabel);
    m_progress->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(heading);
    layout->addWidget(message);
    layout->addWidget(divider);
    layout->addWidget(m_buttons);
    layout->addWidget(m_progress);
    paintRed();

    connect(m_cancel, &QPushButton::clicked, this, &WarningCard::cancelled);
    connect(m_confirm, &QPushButton::clicked, this, &WarningCard::confirmed);
}

void WarningCard::showProgress(const QString &label)
{
    m_progressLabel->setText(label);
    m_bar->setAccessibleName(label);
    m_buttons->hide();
    m_progress->show();
}

void WarningCard::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        paintRed();
}

void WarningCard::paintRed()
{
    const QColor red = OKCancelAlert::destructiveColor(palette());
    QPalette confirm = m_confirm->palette();
    confirm.setColor(QPalette::ButtonText, red);
    m_confirm->setPalette(confirm);
    QPalette label = m_progressLabel->palette();
    // On the card's Base background a label draws in Text, elsewhere in WindowText.
    label.setColor(QPalette::WindowText, red);
    label.setColor(QPalette::Text, red);
    m_progressLabel->setPalette(label);
}
