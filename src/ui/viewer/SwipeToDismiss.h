#pragma once

#include "ui/viewer/SwipeToDismissState.h"

#include <QObject>
#include <QPointF>

class QVariantAnimation;

// The swipe that throws a view's content away, for the widget that takes the drag: it tells how
// far the content has followed and how opaque it is, springs back after a short drag, and
// signals swiped() after a long one.
class SwipeToDismiss : public QObject
{
    Q_OBJECT
public:
    static constexpr int springBackMs = 250;

    explicit SwipeToDismiss(SwipeToDismissState::Direction direction, QObject *parent = nullptr);

    const SwipeToDismissState &state() const { return m_state; }
    void setContainerHeight(double height) { m_state.setContainerHeight(height); }

    // Where the content is drawn relative to its place, and its opacity (0 to 1).
    QPointF contentOffset() const;
    double opacity() const;

    void drag(const QPointF &translation);
    void release();
    // Back in place at once, without a swipe (the view is shown afresh).
    void reset();

Q_SIGNALS:
    void changed();
    void swiped();

private:
    SwipeToDismissState m_state;
    QVariantAnimation *m_springBack;
    QPointF m_springOffset;
};
