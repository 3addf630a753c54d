#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QStackedWidget;
class QToolButton;
class Screen;

// The window's stack of pushed screens under a header with a back button and the top screen's
// title. The root screen has no header; pushed screens go with their dismissal.
class NavigationStack : public QWidget
{
    Q_OBJECT
public:
    explicit NavigationStack(QWidget *parent = nullptr);

    void setRoot(Screen *root);
    void push(Screen *screen);
    // Removes the screen and every screen above it; nothing for the root or a stranger.
    void dismiss(Screen *screen);
    Screen *top() const;
    // Root first.
    QList<Screen *> screens() const;

Q_SIGNALS:
    void topChanged(Screen *top);

private:
    void showTop();

    QWidget *m_header;
    QToolButton *m_back;
    QLabel *m_title;
    QStackedWidget *m_pages;
    QList<Screen *> m_screens;
};
