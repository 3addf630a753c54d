#include "ui/viewer/SwipeToDismissState.h"

#include <QtGlobal>

void SwipeToDismissState::drag(const QPointF &translation)
{
    if (m_direction == Direction::up) {
        m_translation = qMax(0.0, -translation.y());
        m_verticalDragAmount = -m_translation;
        m_opacityAmount = m_translation <= threshold() ? 1.0 : (threshold() - m_translation) / 100.0;
        return;
    }
    m_translation = qMax(0.0, -translation.x());
    m_horizontalDragAmount = -m_translation / 2.0;
    m_opacityAmount = m_translation < leftDistance ? (leftDistance - m_translation) / leftDistance : 0.0;
}

bool SwipeToDismissState::release()
{
    const bool swiped = m_direction == Direction::up ? m_opacityAmount <= 0 : m_translation > leftDistance;
    m_verticalDragAmount = 0;
    m_horizontalDragAmount = 0;
    m_opacityAmount = 1.0;
    m_translation = 0;
    return swiped;
}
