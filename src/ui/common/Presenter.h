#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class NavigationStack;
class QDialog;
class QStackedWidget;
class Screen;

// Shows screens the three ways the window knows: pushed on the navigation stack, as a cover over
// the whole window, or in a window-modal sheet; and closes them by their marks when the
// application goes to the background or the vault locks. The lock closes every screen that shows
// or acts on vault content, every screen presented after the first of them (whoever presented
// it), and the menus, alerts and dialogs any of them opened.
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
    // The screen the person sees in front: the latest sheet, else the latest cover, else the top
    // of the navigation stack; nothing over the root.
    Screen *front() const;
    // Ctrl+W and Escape: closes the screen in front unless it must be answered first. False when
    // nothing closed.
    bool closeFront();

public Q_SLOTS:
    // Closes every screen that carries the automatic dismissal.
    void applicationWentToBackground();
    // Closes everything that acts on the vault.
    void vaultLocked();

Q_SIGNALS:
    void dismissed(Screen *screen);
    // Ctrl+Q in a sheet, which the window's own shortcut cannot see.
    void quitRequested();

private:
    void dismissWhere(const std::function<bool(Screen *)> &condition);
    void forget(Screen *screen);
    void presenting(Screen *screen);
    // The screens in the order presented, the gone ones left out.
    QList<Screen *> inOrder() const;
    // The screen's own alerts, dialogs and sheets are windows of their own: hiding the screen
    // leaves them on screen until it is deleted.
    static void closeOwnedWindows(Screen *screen);

    QStackedWidget *m_layers;
    NavigationStack *m_navigation;
    QWidget *m_window;
    QList<Screen *> m_covers;
    QList<QDialog *> m_sheets;
    QList<QPointer<Screen>> m_order;
};
