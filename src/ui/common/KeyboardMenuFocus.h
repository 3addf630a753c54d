#pragma once

#include <QObject>

class QMenu;

// A menu opened from the keyboard (the menu key, Shift+F10, Space on a menu button) starts on its
// first item, as desktop toolkits do: Qt opens it with nothing chosen, so a screen reader heard
// nothing until an arrow key moved into it. A menu opened with the mouse is left as it opens.
class KeyboardMenuFocus : public QObject
{
    Q_OBJECT
public:
    // Once for the application.
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit KeyboardMenuFocus(QObject *parent);
    static void enterFirstItem(QMenu *menu);
};
