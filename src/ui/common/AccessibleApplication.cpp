#include "ui/common/AccessibleApplication.h"

#include "ui/common/KeyboardMenuFocus.h"

#include <QApplication>
#include <QMenu>

namespace {

bool isSubmenu(const QMenu *menu)
{
    const QList<QObject *> owners = menu->menuAction()->associatedObjects();
    return std::any_of(owners.cbegin(), owners.cend(),
                       [](const QObject *owner) { return qobject_cast<const QMenu *>(owner); });
}

QAccessibleInterface *applicationFactory(const QString &, QObject *object)
{
    if (object && object == QCoreApplication::instance())
        return new AccessibleApplication;
    return nullptr;
}

} // namespace

void AccessibleApplication::install()
{
    QAccessible::installFactory(&applicationFactory);
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(qApp);
    if (root && !dynamic_cast<AccessibleApplication *>(root)) {
        // Asked for before the factory was there: forgotten, so that the next question makes ours.
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(root));
        QAccessible::queryAccessibleInterface(qApp);
    }
    KeyboardMenuFocus::install();
}

QList<QMenu *> AccessibleApplication::openMenus()
{
    QList<QMenu *> menus;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *menu = qobject_cast<QMenu *>(window);
        if (menu && menu->isVisible() && !isSubmenu(menu))
            menus.append(menu);
    }
    return menus;
}

int AccessibleApplication::childCount() const
{
    return QAccessibleApplication::childCount() + int(openMenus().size());
}

int AccessibleApplication::indexOfChild(const QAccessibleInterface *child) const
{
    const int window = QAccessibleApplication::indexOfChild(child);
    if (window >= 0 || !child)
        return window;
    const qsizetype menu = openMenus().indexOf(qobject_cast<QMenu *>(child->object()));
    return menu < 0 ? -1 : QAccessibleApplication::childCount() + int(menu);
}

QAccessibleInterface *AccessibleApplication::child(int index) const
{
    const int windows = QAccessibleApplication::childCount();
    if (index < windows)
        return QAccessibleApplication::child(index);
    const QList<QMenu *> menus = openMenus();
    return index - windows < menus.size() ? QAccessible::queryAccessibleInterface(menus.at(index - windows))
                                          : nullptr;
}
