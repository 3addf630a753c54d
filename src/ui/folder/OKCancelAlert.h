#pragma once

#include <QColor>
#include <QMessageBox>
#include <QPushButton>

class QPalette;

// Which button of an OKCancelAlert has the destructive role.
enum class DestructiveButton { none, ok, cancel };

// A question with "OK" and "Cancel"; exactly one of ok() and cancelled() runs when it goes.
// Escape and the window's close button cancel. Opened with open(), it deletes itself once
// answered.
class OKCancelAlert : public QMessageBox
{
    Q_OBJECT
public:
    OKCancelAlert(const QString &title, const QString &text, DestructiveButton dangerButton, QWidget *parent);

    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The red of destructive buttons and labels, readable on the palette's window colour.
    static QColor destructiveColor(const QPalette &palette);

Q_SIGNALS:
    void ok();
    void cancelled();

private:
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
