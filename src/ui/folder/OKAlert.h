#pragma once

#include <QMessageBox>
#include <QPushButton>

// A message with one "OK" button; ok() runs when it goes, whichever way. Opened with open(),
// it deletes itself once answered.
class OKAlert : public QMessageBox
{
    Q_OBJECT
public:
    OKAlert(const QString &title, const QString &text, QWidget *parent);

    QPushButton *okButton() const { return m_ok; }

Q_SIGNALS:
    void ok();

private:
    QPushButton *m_ok;
};
