#include "ui/viewer/PanZoom.h"

#include "ui/common/AccessibleRole.h"

#include "ui/viewer/SwipeToDismiss.h"

#include <QGestureEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace {
constexpr int wheelNotch = 120;
} // namespace

PanZoom::PanZoom(QWidget *content, QWidget *parent)
    : QWidget(parent), m_content(content),
      m_swipe(new SwipeToDismiss(SwipeToDismissState::Direction::up, this))
{
    setObjectName(QStringLiteral("panZoom"));
    AccessibleRole::give(this, QAccessible::Graphic);
    setAccessibleName(tr("Zoomed picture"));
    setFocusPolicy(Qt::StrongFocus);
    grabGesture(Qt::PinchGesture);
    m_content->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);
    connect(m_swipe, &SwipeToDismiss::changed, this, &PanZoom::changed);
    connect(m_swipe, &SwipeToDismiss::swiped, this, &PanZoom::endZoom);
}

void PanZoom::start(double scale)
{
    m_state = PanZoomState(scale);
    m_state.setGeometry(size(), size());
    m_swipe->reset();
    m_pressed = m_dragging = false;
    Q_EMIT changed();
}

QTransform PanZoom::transform() const
{
    const QPointF centre = QRectF(rect()).center();
    const QPointF moved = centre + m_state.offset() + m_swipe->contentOffset();
    QTransform transform;
    transform.translate(moved.x(), moved.y());
    transform.scale(m_state.scale(), m_state.scale());
    transform.translate(-centre.x(), -centre.y());
    return transform;
}

double PanZoom::opacity() const
{
    return m_swipe->opacity();
}

bool PanZoom::event(QEvent *event)
{
    if (event->type() == QEvent::NativeGesture) {
        nativeGesture(static_cast<QNativeGestureEvent *>(event));
        return true;
    }
    if (event->type() == QEvent::Gesture) {
        gesture(static_cast<QGestureEvent *>(event));
        return true;
    }
    return QWidget::event(event);
}

void PanZoom::nativeGesture(QNativeGestureEvent *event)
{
    switch (event->gestureType()) {
    case Qt::BeginNativeGesture:
        m_nativePinch = 1.0;
        break;
    case Qt::ZoomNativeGesture:
        // Each event carries the growth since the last one.
        m_nativePinch *= 1.0 + event->value();
        m_state.pinch(m_nativePinch);
        Q_EMIT changed();
        break;
    case Qt::EndNativeGesture:
        m_state.endPinch();
        break;
    default:
        break;
    }
    event->accept();
}

void PanZoom::gesture(QGestureEvent *event)
{
    auto *pinch = static_cast<QPinchGesture *>(event->gesture(Qt::PinchGesture));
    if (!pinch)
        return;
    if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged) {
        m_state.pinch(pinch->totalScaleFactor());
        Q_EMIT changed();
    }
    if (pinch->state() == Qt::GestureFinished || pinch->state() == Qt::GestureCanceled)
        m_state.endPinch();
    event->accept(pinch);
}

void PanZoom::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The content fills the view, so both sizes are the view's.
    m_state.setGeometry(size(), size());
    m_swipe->setContainerHeight(height());
    Q_EMIT changed();
}

void PanZoom::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_pressed = true;
    m_pressPos = event->position();
}

void PanZoom::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return QWidget::mouseMoveEvent(event);
    const QPointF translation = event->position() - m_pressPos;
    if (!m_dragging && std::hypot(translation.x(), translation.y()) < minimumDragDistance)
        return;
    m_dragging = true;
    // What the picture's edge holds back of an upward drag pulls it away instead.
    const double heldBack = m_state.drag(translation);
    m_swipe->drag(QPointF(0, heldBack));
    Q_EMIT changed();
}

void PanZoom::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return QWidget::mouseReleaseEvent(event);
    m_pressed = false;
    if (!m_dragging)
        return;
    m_dragging = false;
    m_state.endDrag();
    m_swipe->release();
    Q_EMIT changed();
}

void PanZoom::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        endZoom();
}

void PanZoom::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (event->modifiers() & Qt::ControlModifier) {
        const int angle = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
        m_state.zoomBy(std::pow(wheelNotchFactor, double(angle) / wheelNotch));
    } else if (!event->pixelDelta().isNull()) {
        m_state.pan(event->pixelDelta());
    } else {
        m_state.pan(QPointF(event->angleDelta()) / 2);
    }
    Q_EMIT changed();
}

void PanZoom::endZoom()
{
    m_state.reset();
    m_swipe->reset();
    m_pressed = m_dragging = false;
    Q_EMIT changed();
    Q_EMIT zoomEnded();
}
