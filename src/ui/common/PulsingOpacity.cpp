#include "ui/common/PulsingOpacity.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QWidget>

void PulsingOpacity::apply(QWidget *widget, bool enabled)
{
    if (!enabled)
        return;
    auto *effect = new QGraphicsOpacityEffect(widget);
    widget->setGraphicsEffect(effect);
    auto *pulse = new QPropertyAnimation(effect, "opacity", effect);
    pulse->setDuration(2000);
    pulse->setKeyValueAt(0.0, 1.0);
    pulse->setKeyValueAt(0.5, 0.3);
    pulse->setKeyValueAt(1.0, 1.0);
    pulse->setEasingCurve(QEasingCurve::InOutSine);
    pulse->setLoopCount(-1);
    pulse->start();
}
