#include "app/FirstFrame.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
constexpr int unpaintedWindowMs = 1000;
}

void FirstFrame::then(QWidget *window, std::function<void()> work)
{
    new FirstFrame(window, std::move(work)); // deletes itself once it ran
}

FirstFrame::FirstFrame(QWidget *window, std::function<void()> work)
    : QObject(window), m_window(window), m_work(std::move(work))
{
    qApp->installEventFilter(this);
    QTimer::singleShot(unpaintedWindowMs, this, &FirstFrame::run);
}

bool FirstFrame::eventFilter(QObject *watched, QEvent *event)
{
    // Any widget's paint will do: the window itself may be covered by its children.
    if (event->type() == QEvent::Paint && !m_painted && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == m_window) {
        m_painted = true;
        // Once this paint has been handled and flushed to the screen.
        QTimer::singleShot(0, this, &FirstFrame::run);
    }
    return QObject::eventFilter(watched, event);
}

void FirstFrame::run()
{
    if (!m_work)
        return;
    qApp->removeEventFilter(this);
    const std::function<void()> work = std::exchange(m_work, nullptr);
    deleteLater();
    work();
}
