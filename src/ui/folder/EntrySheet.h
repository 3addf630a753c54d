#pragma once

#include "ui/common/UserFormTextField.h"

#include <QDialog>

class QLabel;
class QPushButton;

// A small window-modal sheet of the modify dialog: a title, a caption, one masked field and
// "Cancel" beside a confirming button. Confirming (the button or Return) hands the text over as
// typed (submitted); what the field held is wiped when the sheet closes.
class EntrySheet : public QDialog
{
    Q_OBJECT
public:
    EntrySheet(const QString &title, const QString &caption, ProtectFieldType type,
               const QString &confirmText, QWidget *parent);
    ~EntrySheet() override;

    UserFormTextField *field() const { return m_field; }
    QPushButton *confirmButton() const { return m_confirm; }
    // A line under the field saying what went wrong; hidden while empty.
    void setProblem(const QString &problem);
    QString problem() const;

Q_SIGNALS:
    void submitted(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    UserFormTextField *m_field;
    QLabel *m_problem;
    QPushButton *m_confirm;
};
