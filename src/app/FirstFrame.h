#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Runs work once a window has painted its first frame and that frame has gone to the screen:
// what may wait (the buses, the keyring) keeps out of the way of the window a person waits for.
// A window that is not painted within a second (started minimised, say) does not hold it back.
class FirstFrame : public QObject
{
    Q_OBJECT
public:
    static void then(QWidget *window, std::function<void()> work);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FirstFrame(QWidget *window, std::function<void()> work);
    void run();

    QWidget *const m_window;
    std::function<void()> m_work;
    bool m_painted = false;
};
