#include "ui/main/PressGesture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

PressGesture::PressGesture(QWidget *target) : QObject(target)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(longPressMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_fired = true;
        Q_EMIT longPressed();
    });
    target->installEventFilter(this);
}

void PressGesture::begin(const QPoint &at)
{
    m_origin = at;
    m_pressed = true;
    m_fired = false;
    m_timer.start();
}

void PressGesture::end()
{
    const bool tap = m_pressed && !m_fired && m_timer.isActive();
    m_timer.stop();
    m_pressed = false;
    if (tap)
        Q_EMIT tapped();
}

bool PressGesture::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            begin(mouse->position().toPoint());
        break;
    }
    case QEvent::MouseMove:
        if (m_pressed &&
            (static_cast<QMouseEvent *>(event)->position().toPoint() - m_origin).manhattanLength() >
                maximumMovement) {
            m_timer.stop(); // a drag: neither a tap nor a long press
            m_pressed = false;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            end();
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool activation =
            key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!activation)
            break;
        if (!key->isAutoRepeat()) {
            if (event->type() == QEvent::KeyPress)
                begin({});
            else
                end();
        }
        return true;
    }
    case QEvent::FocusOut:
    case QEvent::Hide:
        m_timer.stop();
        m_pressed = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
