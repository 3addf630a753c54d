#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QTimer>

// Tells a tap from a long press on a widget: a press held for a second without moving more than
// ten pixels is a long press; a shorter one is a tap; one that moves further is neither. Space
// or Return held the same way does the same from the keyboard.
class PressGesture : public QObject
{
    Q_OBJECT
public:
    static constexpr int longPressMilliseconds = 1000;
    static constexpr int maximumMovement = 10;

    explicit PressGesture(QWidget *target);

Q_SIGNALS:
    void tapped();
    void longPressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void begin(const QPoint &at);
    void end();

    QTimer m_timer;
    QPoint m_origin;
    bool m_pressed = false;
    bool m_fired = false;
};
