#pragma once

#include <QSize>
#include <QWidget>

class NavigationStack;
class Presenter;

// A window laid out for screens as the application's is: a navigation stack in a stack of
// layers, and the presenter over them. Shown once made; tests wait for it to be exposed.
class PresenterWindow : public QWidget
{
public:
    explicit PresenterWindow(QSize size = {800, 600});

    Presenter *presenter() const { return m_presenter; }
    NavigationStack *navigation() const { return m_navigation; }

private:
    NavigationStack *m_navigation;
    Presenter *m_presenter;
};
