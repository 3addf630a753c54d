#include "ui/settings/SettingsToggle.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

SettingsToggle::SettingsToggle(const QString &text, const QString &help, QWidget *parent)
    : QWidget(parent), m_checkBox(new QCheckBox(text)), m_help(new QLabel(help))
{
    m_help->setWordWrap(true);
    // A palette role, not a fixed colour, so the text follows a later light or dark switch.
    m_help->setForegroundRole(QPalette::PlaceholderText);
    QFont small = m_help->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_help->setFont(small);
    m_checkBox->setAccessibleDescription(help);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_checkBox);
    layout->addWidget(m_help);
}
