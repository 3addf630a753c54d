#include "ui/folder/OKAlert.h"

OKAlert::OKAlert(const QString &title, const QString &text, QWidget *parent)
    : QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent)
{
    setObjectName(QStringLiteral("okAlert"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    // Announced as it opens: the title as its name, the message as its description.
    setAccessibleName(title);
    setAccessibleDescription(text);
    m_ok = addButton(tr("OK"), QMessageBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("okButton"));
    setDefaultButton(m_ok);
    setEscapeButton(m_ok);
    // The window's close button answers too: the only answer there is.
    connect(this, &QDialog::finished, this, &OKAlert::ok);
}
