#pragma once

#include <QAccessibleApplication>

class QMenu;

// The root of the window's accessibility tree. Qt leaves popup windows out of the application's
// children and menus out of their owner's, so an open menu could only be found by following a
// focus event up from one of its items: a screen reader reading the window from the top, or a
// person exploring it, found none. Here every open popup menu is a child of the application while
// it shows, after the windows, as desktop toolkits list theirs.
class AccessibleApplication : public QAccessibleApplication
{
public:
    // Once, before the window is shown: makes this the application's interface (in place of one
    // asked for earlier) and lets menus opened from the keyboard start on their first item.
    static void install();

    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *child(int index) const override;

    // The popup menus on screen; a submenu is found under the item that opened it.
    static QList<QMenu *> openMenus();
};
