#pragma once

#include "ui/common/Screen.h"

class QPushButton;
class SetPasscodeState;
class UserFormTextField;

// Passcode setup, shown by its host in a window-modal sheet: two masked entries and the
// "Set passcode" button. Asks to go once the passcode is stored; a store failure is reported in
// a message box and the entries stay.
class SetPasscodeView : public Screen
{
    Q_OBJECT
public:
    explicit SetPasscodeView(QWidget *parent = nullptr);

    SetPasscodeState *state() const { return m_state; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *makeSection();
    void connectState();
    void updateButton();
    void showKeychainFailure();

    SetPasscodeState *m_state;
    UserFormTextField *m_passcodeField;
    UserFormTextField *m_repeatField;
    QPushButton *m_setButton;
};
