#pragma once

#include "ui/common/Screen.h"

#include <functional>
#include <optional>

class NewFolderState;
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

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *makeTip();
    void create();

    NewFolderState *m_state;
    QLineEdit *m_nameField;
    UserFormTextField *m_pinField;
    QPushButton *m_createButton;
};
