#pragma once

#include <QAccessible>

class QWidget;

// Gives a plain widget that draws its own content (a picture, a pager) the role a screen reader
// should announce, where Qt would call it an unnamed "client" area.
class AccessibleRole
{
public:
    // Before anything names the widget: naming it asks for its interface, which then stays.
    static void give(QWidget *widget, QAccessible::Role role);
};
