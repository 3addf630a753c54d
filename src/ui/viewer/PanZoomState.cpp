#include "ui/viewer/PanZoomState.h"

#include <QtGlobal>
#include <cmath>

void PanZoomState::setGeometry(const QSizeF &contentSize, const QSizeF &viewSize)
{
    m_contentSize = contentSize;
    m_viewSize = viewSize;
    m_offset = clamped(m_offset);
    m_initialOffset = clamped(m_initialOffset);
}

QPointF PanZoomState::limits() const
{
    return {qMax(0.0, (m_contentSize.width() * m_scale - m_viewSize.width()) * 0.5),
            qMax(0.0, (m_contentSize.height() * m_scale - m_viewSize.height()) * 0.5)};
}

QPointF PanZoomState::clamped(const QPointF &offset) const
{
    const QPointF limit = limits();
    return {qBound(-limit.x(), offset.x(), limit.x()), qBound(-limit.y(), offset.y(), limit.y())};
}

double PanZoomState::drag(const QPointF &translation)
{
    const QPointF wanted = m_initialOffset + translation;
    m_offset = clamped(wanted);
    return qMin(0.0, wanted.y() - m_offset.y());
}

void PanZoomState::endDrag()
{
    m_initialOffset = m_offset;
}

void PanZoomState::pinch(double value)
{
    if (value <= 0)
        return;
    if (!m_pinching && std::abs(value - 1.0) < minimumScaleDelta)
        return;
    m_pinching = true;
    const double delta = value / m_lastScaleValue;
    m_lastScaleValue = value;
    setScale(m_scale * delta);
}

void PanZoomState::endPinch()
{
    m_lastScaleValue = 1.0;
    m_pinching = false;
}

void PanZoomState::zoomBy(double factor)
{
    if (factor > 0)
        setScale(m_scale * factor);
}

void PanZoomState::pan(const QPointF &delta)
{
    m_offset = clamped(m_offset + delta);
    m_initialOffset = m_offset;
}

void PanZoomState::reset()
{
    m_offset = {};
    m_initialOffset = {};
    m_lastScaleValue = 1.0;
    m_pinching = false;
    m_scale = initialScale;
}

void PanZoomState::setScale(double scale)
{
    m_scale = qMax(minScale, scale);
    m_offset = clamped(m_offset);
    m_initialOffset = clamped(m_initialOffset);
}
