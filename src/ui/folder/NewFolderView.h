#pragma once

#include "ui/common/Screen.h"

#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class UserFormTextField;

// "New Folder": a name and an optional PIN. "Create Folder" hands both over, trimmed, through
// onCreate and asks to go; making the folder is the caller's job.
class NewFolderView : public Screen
{
    Q_OBJECT
public:
    using CreateCallback = std::function<void(const QString &name, const std::optional<QString> &pin)>;

    explicit NewFolderView(CreateCallback onCreate = {}, QWidget *parent = nullptr);

    // The names and PINs "Create Folder" accepts: a name that is more than white space, and no
    // PIN or one of at least minimumPinLength characters, both counted without the white space
    // at their ends.
    static bool canCreate(const QString &name, const QString &pin);
    static constexpr int minimumPinLength = 4;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *makeTip();
    void updateButton();
    void create();

    CreateCallback m_onCreate;
    QLineEdit *m_nameField;
    UserFormTextField *m_pinField;
    QPushButton *m_createButton;
};
