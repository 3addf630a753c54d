#pragma once

#include <QLineEdit>

class QMenu;

// What a masked field is for; decides its placeholder.
enum class ProtectFieldType { passcode, repeatPasscode, pin, optionalPin };

// The masked entry field of every passcode and PIN. What is typed is never shown, copied or
// dragged out; committing it does nothing by itself (callers connect returnPressed).
class UserFormTextField : public QLineEdit
{
    Q_OBJECT
public:
    explicit UserFormTextField(ProtectFieldType type, QWidget *parent = nullptr);

    ProtectFieldType type() const { return m_type; }
    static QString placeholder(ProtectFieldType type);
    // Empties the field and overwrites the characters it held, so a closed dialog keeps none.
    void wipe();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // The standard menu without Cut and Copy.
    QMenu *makeContextMenu();

    ProtectFieldType m_type;
};
