#include "ui/settings/SettingsToggle.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

SettingsToggle::SettingsToggle(const QString &text, const QString &help, QWidget *parent)
    : QWidget(parent), m_checkBox(new QCheckBox(text)), m_help(makeHelp(help))
{
    m_checkBox->setAccessibleDescription(help);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_checkBox);
    layout->addWidget(m_help);
}

QLabel *SettingsToggle::makeHelp(const QString &help)
{
    auto *label = new QLabel(help);
    label->setWordWrap(true);
    // A palette role, not a fixed colour, so the text follows a later light or dark switch.
    label->setForegroundRole(QPalette::PlaceholderText);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    label->setFont(small);
    return label;
}
