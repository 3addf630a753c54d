#pragma once

#include "ui/common/Screen.h"

class QPushButton;
class UserFormTextField;

// Asks for a protected folder's PIN. Must be answered (no Escape, no close button) and goes by
// itself when the application goes to the background. "Continue" asks to go, then hands over
// what was typed, trimmed (pinEntered); "Cancel" asks to go and hands over nothing.
class EnterPin : public Screen
{
    Q_OBJECT
public:
    explicit EnterPin(QWidget *parent = nullptr);

Q_SIGNALS:
    void pinEntered(const QString &pin);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void submit();

    UserFormTextField *m_pinField;
    QPushButton *m_continueButton = nullptr;
};
