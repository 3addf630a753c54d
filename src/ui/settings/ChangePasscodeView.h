#pragma once

#include "ui/common/Screen.h"

#include <QElapsedTimer>

class ChangePasscodeState;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The "Change Passcode" sheet: the current passcode and the new one twice, then the progress of
// the change with Cancel. It closes with the lock, which stops the change at the next file.
// Shown after an unlock that finds an unfinished change, it finishes that change instead.
class ChangePasscodeView : public Screen
{
    Q_OBJECT
public:
    explicit ChangePasscodeView(bool resuming = false, QWidget *parent = nullptr);

    ChangePasscodeState *state() const { return m_state; }

private:
    QLineEdit *makeField(const QString &placeholder, const QString &objectName);
    void connectState();
    void showState();
    void showFinished(const QStringList &damaged);

    ChangePasscodeState *m_state;
    QLabel *m_explanation;
    QLineEdit *m_current;
    QLineEdit *m_new;
    QLineEdit *m_repeated;
    QProgressBar *m_bar;
    QLabel *m_progress;
    QLabel *m_message;
    QPushButton *m_start;
    QPushButton *m_cancel;
    QPushButton *m_close;
    QElapsedTimer m_started;
};
