#include "ui/common/KeyboardMenuFocus.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>

KeyboardMenuFocus::KeyboardMenuFocus(QObject *parent) : QObject(parent) {}

void KeyboardMenuFocus::install()
{
    if (!qApp || qApp->findChild<KeyboardMenuFocus *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    qApp->installEventFilter(new KeyboardMenuFocus(qApp));
}

bool KeyboardMenuFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show)
        return false;
    auto *menu = qobject_cast<QMenu *>(watched);
    // A button held down is the mouse that opened it.
    if (menu && menu->isWindow() && QGuiApplication::mouseButtons() == Qt::NoButton) {
        // Once it is on screen, where Qt puts nothing under the keyboard yet.
        QTimer::singleShot(0, menu, [menu = QPointer<QMenu>(menu)] {
            if (menu && menu->isVisible() && !menu->activeAction())
                enterFirstItem(menu);
        });
    }
    return false;
}

void KeyboardMenuFocus::enterFirstItem(QMenu *menu)
{
    for (QAction *action : menu->actions()) {
        if (action->isVisible() && action->isEnabled() && !action->isSeparator()) {
            menu->setActiveAction(action);
            return;
        }
    }
}
