#pragma once

#include <QPointF>

// Whether a drag throws the content away: the content follows the drag and fades as it goes;
// on release it either goes (the swipe) or springs back. Pure arithmetic; SwipeToDismiss runs it.
class SwipeToDismissState
{
public:
    enum class Direction { up, left };

    // How far a leftward drag must go, in pixels.
    static constexpr double leftDistance = 100.0;

    explicit SwipeToDismissState(Direction direction) : m_direction(direction) {}

    Direction direction() const { return m_direction; }
    // An upward drag goes past a third of this height.
    void setContainerHeight(double height) { m_containerHeight = height; }
    double threshold() const { return m_containerHeight / 3.0; }

    double verticalDragAmount() const { return m_verticalDragAmount; }
    double horizontalDragAmount() const { return m_horizontalDragAmount; }
    // At or below zero once the drag went far enough; painters clamp it.
    double opacityAmount() const { return m_opacityAmount; }

    // The drag moved by translation since it began.
    void drag(const QPointF &translation);
    // The drag ended: true when the content goes. Either way the amounts start over.
    bool release();

private:
    const Direction m_direction;
    double m_containerHeight = 0;
    double m_verticalDragAmount = 0;
    double m_horizontalDragAmount = 0;
    double m_opacityAmount = 1.0;
    double m_translation = 0; // along the direction, positive towards it
};
