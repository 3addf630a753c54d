#include "ui/viewer/SwipeToDismiss.h"

#include <QVariantAnimation>
#include <QtGlobal>

SwipeToDismiss::SwipeToDismiss(SwipeToDismissState::Direction direction, QObject *parent)
    : QObject(parent), m_state(direction), m_springBack(new QVariantAnimation(this))
{
    m_springBack->setDuration(springBackMs);
    m_springBack->setEasingCurve(QEasingCurve::OutBack);
    m_springBack->setEndValue(QPointF());
    connect(m_springBack, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_springOffset = value.toPointF();
        Q_EMIT changed();
    });
}

QPointF SwipeToDismiss::contentOffset() const
{
    if (m_springBack->state() == QAbstractAnimation::Running)
        return m_springOffset;
    return {m_state.horizontalDragAmount(), m_state.verticalDragAmount()};
}

double SwipeToDismiss::opacity() const
{
    return qBound(0.0, m_state.opacityAmount(), 1.0);
}

void SwipeToDismiss::drag(const QPointF &translation)
{
    m_springBack->stop();
    m_state.drag(translation);
    Q_EMIT changed();
}

void SwipeToDismiss::release()
{
    const QPointF from = contentOffset();
    if (m_state.release()) {
        Q_EMIT changed();
        Q_EMIT swiped();
        return;
    }
    if (from.isNull())
        return;
    m_springOffset = from;
    m_springBack->setStartValue(from);
    m_springBack->start();
}

void SwipeToDismiss::reset()
{
    m_springBack->stop();
    m_state.release();
    Q_EMIT changed();
}
