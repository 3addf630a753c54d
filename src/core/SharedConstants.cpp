#include "core/SharedConstants.h"

#include <QGuiApplication>
#include <QPalette>

QColor SharedConstants::systemBackground()
{
    return QGuiApplication::palette().color(QPalette::Window);
}

QColor SharedConstants::primaryLabel()
{
    return QGuiApplication::palette().color(QPalette::WindowText);
}

QColor SharedConstants::translucentLightGrey()
{
    QColor grey(Qt::lightGray);
    grey.setAlphaF(0.4f);
    return grey;
}
