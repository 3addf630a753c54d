#pragma once

#include <QList>
#include <QObject>
#include <functional>

class NavigationStack;
class QDialog;
class QStackedWidget;
class Screen;

// Shows screens the three ways the window knows: pushed on the navigation stack, as a cover over
// the whole window, or in a window-modal sheet; and closes them by their marks when the
// application goes to the background or the vault locks.
class Presenter : public QObject
{
    Q_OBJECT
public:
    // `layers` holds the navigation stack as its first page; covers go above it.
    Presenter(QStackedWidget *layers, NavigationStack *navigation, QWidget *window);

    void push(Screen *screen);
    void cover(Screen *screen);
    void sheet(Screen *screen);
    void dismiss(Screen *screen);

    // Every shown screen but the root, in the order shown.
    QList<Screen *> presented() const;

public Q_SLOTS:
    // Closes every screen that carries the automatic dismissal.
    void applicationWentToBackground();
    // Closes every screen that shows vault content.
    void vaultLocked();

Q_SIGNALS:
    void dismissed(Screen *screen);

private:
    void dismissWhere(const std::function<bool(Screen *)> &condition);
    void forget(Screen *screen);

    QStackedWidget *m_layers;
    NavigationStack *m_navigation;
    QWidget *m_window;
    QList<Screen *> m_covers;
    QList<QDialog *> m_sheets;
};
