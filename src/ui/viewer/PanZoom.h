#pragma once

#include "ui/viewer/PanZoomState.h"

#include <QTransform>
#include <QWidget>

class QGestureEvent;
class QNativeGestureEvent;
class SwipeToDismiss;

// Pans and zooms the content it holds: a drag pans within the edges, a touchpad pinch, a touch
// pinch or Ctrl with the wheel zooms (down to half size, with no upper bound), the wheel alone
// pans. A double click, or an upward drag past a third of the height once the content can go no
// higher, ends the zoom. The content draws itself through transform() and opacity(); the input
// all comes here.
class PanZoom : public QWidget
{
    Q_OBJECT
public:
    static constexpr int minimumDragDistance = 10;
    // The zoom of one notch of a mouse wheel with Ctrl.
    static constexpr double wheelNotchFactor = 1.25;

    explicit PanZoom(QWidget *content, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    const PanZoomState &state() const { return m_state; }
    // Starts afresh at scale, in the middle, in place.
    void start(double scale);

    // Scale about the centre, then the offset and the swipe's pull.
    QTransform transform() const;
    double opacity() const;

Q_SIGNALS:
    void changed();
    // The zoom is over (the zoomable flag turns false).
    void zoomEnded();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void nativeGesture(QNativeGestureEvent *event);
    void gesture(QGestureEvent *event);
    void endZoom();

    QWidget *m_content;
    PanZoomState m_state;
    SwipeToDismiss *m_swipe;
    QPointF m_pressPos;
    bool m_pressed = false;
    bool m_dragging = false;
    double m_nativePinch = 1.0;
};
