#pragma once

#include "security/VaultSession.h"
#include "ui/common/Screen.h"

class CheckVaultState;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The "Check Vault" sheet: progress and Cancel while the check runs, then its report. Draws
// CheckVaultState; closes with the lock and when the application goes to the background.
class CheckVaultView : public Screen
{
    Q_OBJECT
public:
    explicit CheckVaultView(VaultSessionPtr session, QWidget *parent = nullptr);

    CheckVaultState *state() const { return m_state; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void redraw();

    VaultSessionPtr m_session;
    CheckVaultState *m_state;
    QLabel *m_status;
    QProgressBar *m_busy;
    QPlainTextEdit *m_report;
    QPushButton *m_cancel;
    QPushButton *m_close;
};
