#include "ui/common/UserFormTextField.h"

#include "security/SecretWipe.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

UserFormTextField::UserFormTextField(ProtectFieldType type, QWidget *parent) : QLineEdit(parent), m_type(type)
{
    setEchoMode(QLineEdit::Password);
    setPlaceholderText(placeholder(type));
    setAccessibleName(placeholder(type));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QString UserFormTextField::placeholder(ProtectFieldType type)
{
    switch (type) {
    case ProtectFieldType::passcode:
        return tr("Passcode");
    case ProtectFieldType::repeatPasscode:
        return tr("Repeat Passcode");
    case ProtectFieldType::pin:
        return tr("Pin");
    case ProtectFieldType::optionalPin:
        return tr("Optional Pin");
    }
    return {};
}

void UserFormTextField::wipe()
{
    // Once the field lets go of its text (setText also drops the undo history), this copy is
    // the buffer's only owner and can be overwritten in place.
    QString typed = text();
    setText(QString());
    wipeSecret(typed);
}

void UserFormTextField::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = makeContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMenu *UserFormTextField::makeContextMenu()
{
    // Pasting from a password manager stays possible; nothing typed may leave the field.
    auto *menu = new QMenu(this);
    menu->setAccessibleName(accessibleName());
    auto add = [this, menu](const QString &text, const QString &name, bool enabled, auto slot) {
        QAction *action = menu->addAction(text, this, slot);
        action->setObjectName(name);
        action->setEnabled(enabled);
    };
    const bool editable = !isReadOnly();
    add(tr("&Undo"), QStringLiteral("edit-undo"), editable && isUndoAvailable(), [this] { undo(); });
    add(tr("&Redo"), QStringLiteral("edit-redo"), editable && isRedoAvailable(), [this] { redo(); });
    menu->addSeparator();
    const bool canPaste = editable && !QGuiApplication::clipboard()->text().isEmpty();
    add(tr("&Paste"), QStringLiteral("edit-paste"), canPaste, [this] { paste(); });
    add(tr("Delete"), QStringLiteral("edit-delete"), editable && hasSelectedText(), [this] { del(); });
    menu->addSeparator();
    add(tr("Select All"), QStringLiteral("select-all"), !text().isEmpty(), [this] { selectAll(); });
    return menu;
}
