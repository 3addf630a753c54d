#pragma once

#include <optional>

#include "ui/common/Screen.h"

#include <QPointer>

class EntrySheet;
class ItemCollection;
class PasscodeGate;
class QLabel;
class QPushButton;

// "Modify Folder": says whether the folder has a PIN and offers to remove or add one, each only
// after the application passcode; adding asks for the new PIN in a second sheet. Goes by itself
// when the application goes to the background.
class ModifyFolderView : public Screen
{
    Q_OBJECT
public:
    explicit ModifyFolderView(ItemCollection *collection, QWidget *parent = nullptr);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *makeHeader();
    void updatePinState();
    void showPasscodeSheet();
    void checkPasscode();
    void createPin(const QString &pin);
    // The PIN was created or removed, or not: the sheet goes, or says why it stays.
    // failure: nothing when the PIN changed; otherwise why not (empty when no more is known).
    void pinChanged(const std::optional<QString> &failure);
    void closeSheets();

    QPointer<ItemCollection> m_collection;
    QLabel *m_pinState;
    QPushButton *m_pinButton;
    EntrySheet *m_passcodeSheet;
    EntrySheet *m_pinSheet;
    PasscodeGate *m_gate;
};
