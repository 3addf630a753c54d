#include "ui/folder/OKCancelAlert.h"

#include "ui/common/ColorScheme.h"

#include <QPalette>
#include <QPushButton>

namespace {

void paintDestructive(QPushButton *button)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, OKCancelAlert::destructiveColor(palette));
    button->setPalette(palette);
}

} // namespace

OKCancelAlert::OKCancelAlert(const QString &title, const QString &text, DestructiveButton dangerButton,
                             QWidget *parent)
    : QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent)
{
    setObjectName(QStringLiteral("okCancelAlert"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    // Announced as it opens: the title as its name, the question as its description.
    setAccessibleName(title);
    setAccessibleDescription(text);
    m_ok = addButton(tr("OK"), dangerButton == DestructiveButton::ok ? QMessageBox::DestructiveRole
                                                                     : QMessageBox::AcceptRole);
    m_cancel =
        addButton(tr("Cancel"), dangerButton == DestructiveButton::cancel ? QMessageBox::DestructiveRole
                                                                          : QMessageBox::RejectRole);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    if (dangerButton == DestructiveButton::ok)
        paintDestructive(m_ok);
    else if (dangerButton == DestructiveButton::cancel)
        paintDestructive(m_cancel);
    // Return alone must not start what cannot be undone.
    setDefaultButton(dangerButton == DestructiveButton::ok ? m_cancel : m_ok);
    setEscapeButton(m_cancel);
    // clickedButton() is the escape button after Escape and after the window's close button.
    connect(this, &QDialog::finished, this, [this] {
        if (clickedButton() == m_ok)
            Q_EMIT ok();
        else
            Q_EMIT cancelled();
    });
}

QColor OKCancelAlert::destructiveColor(const QPalette &palette)
{
    return ColorScheme::isDark(palette) ? QColor(0xff, 0x6b, 0x61) : QColor(0xc4, 0x1e, 0x14);
}
