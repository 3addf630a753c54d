#pragma once

#include <QPointF>
#include <QSizeF>

// The geometry of a zoomed picture: its scale about the centre and its offset, kept so that the
// picture cannot be dragged past its edges. Pure arithmetic; PanZoom feeds it the gestures.
class PanZoomState
{
public:
    static constexpr double minScale = 0.5;
    static constexpr double initialScale = 1.0;
    // A pinch counts only once its magnification has moved this far from 1.
    static constexpr double minimumScaleDelta = 0.01;

    explicit PanZoomState(double scale = initialScale) : m_scale(scale) {}

    double scale() const { return m_scale; }
    QPointF offset() const { return m_offset; }
    QPointF initialOffset() const { return m_initialOffset; }

    // The content's own size and the size of the view showing it.
    void setGeometry(const QSizeF &contentSize, const QSizeF &viewSize);
    QSizeF contentSize() const { return m_contentSize; }

    // How far the offset may go either way on each axis: nothing while the scaled content fits.
    QPointF limits() const;
    QPointF clamped(const QPointF &offset) const;

    // A drag moved by translation since it began. Answers the part of the vertical movement that
    // the clamp held back (negative when the content could go no higher).
    double drag(const QPointF &translation);
    void endDrag();
    // A pinch reached magnification value since it began; no upper bound on the scale.
    void pinch(double value);
    void endPinch();
    // Multiplies the scale (a step of the wheel), with the same lower bound.
    void zoomBy(double factor);
    // Moves the offset by delta (a touchpad's scroll) and keeps it there.
    void pan(const QPointF &delta);
    // Back to no offset at the initial scale.
    void reset();

private:
    void setScale(double scale);

    QPointF m_offset;
    QPointF m_initialOffset;
    double m_lastScaleValue = 1.0;
    bool m_pinching = false;
    QSizeF m_contentSize;
    QSizeF m_viewSize;
    double m_scale;
};
