#include "ui/viewer/PhotoPager.h"

#include "ui/common/AccessibleRole.h"

#include "ui/viewer/PhotoPageLoader.h"
#include "ui/viewer/PhotoPainter.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>

namespace {
// A touchpad sends no end of scroll on X11: this long without an event ends it.
constexpr int scrollEndMs = 150;
// A window being resized sends many sizes; the pictures follow the last one.
constexpr int resizeSettleMs = 200;
// One notch of a mouse wheel.
constexpr int wheelNotch = 120;
// A drag this far (in pages) turns the page even if it ends nearer to where it began.
constexpr qreal turnFraction = 0.2;
} // namespace

PhotoPager::PhotoPager(PhotoPageLoader *loader, QWidget *parent)
    : QWidget(parent), m_loader(loader), m_animation(new QPropertyAnimation(this, "position", this)),
      m_settleTimer(new QTimer(this)), m_sizeTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("photoPager"));
    AccessibleRole::give(this, QAccessible::Graphic);
    setAccessibleName(tr("Gallery"));
    setAccessibleDescription(tr("Left and Right for the other pictures, Return to zoom"));
    setFocusPolicy(Qt::StrongFocus);
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    m_settleTimer->setSingleShot(true);
    m_settleTimer->setInterval(scrollEndMs);
    connect(m_settleTimer, &QTimer::timeout, this, &PhotoPager::settle);
    m_sizeTimer->setSingleShot(true);
    m_sizeTimer->setInterval(resizeSettleMs);
    connect(m_sizeTimer, &QTimer::timeout, this, &PhotoPager::sendPageSize);
    connect(m_loader, &PhotoPageLoader::pageChanged, this, [this](int index) {
        if (std::abs(index - m_position) < 1)
            update();
    });
}

int PhotoPager::count() const
{
    return m_loader->count();
}

void PhotoPager::setPosition(qreal position)
{
    position = clampedPosition(position);
    if (qFuzzyCompare(position + 1, m_position + 1))
        return;
    m_position = position;
    const int current = qBound(0, qRound(position), qMax(0, count() - 1));
    if (current != m_current) {
        m_current = current;
        holdPages();
        Q_EMIT currentIndexChanged(current);
    }
    update();
    Q_EMIT positionChanged();
}

int PhotoPager::targetIndex() const
{
    return m_animation->state() == QAbstractAnimation::Running ? m_target : m_current;
}

bool PhotoPager::isMoving() const
{
    return m_animation->state() == QAbstractAnimation::Running || m_settleTimer->isActive() || m_dragging;
}

void PhotoPager::showPage(int index)
{
    m_animation->stop();
    m_settleTimer->stop();
    setPosition(index);
    holdPages();
}

void PhotoPager::step(int delta)
{
    const int target = qBound(0, targetIndex() + delta, qMax(0, count() - 1));
    if (target == targetIndex())
        return;
    animateTo(target, stepMs);
}

void PhotoPager::animateTo(int index, int durationMs)
{
    m_settleTimer->stop();
    m_animation->stop();
    m_target = index;
    if (qFuzzyCompare(m_position + 1, index + 1))
        return holdPages();
    m_animation->setDuration(durationMs);
    m_animation->setStartValue(m_position);
    m_animation->setEndValue(qreal(index));
    m_animation->start();
    holdPages();
}

void PhotoPager::settle()
{
    animateTo(m_current, settleMs);
}

void PhotoPager::scrollBy(qreal pixels)
{
    m_animation->stop();
    setPosition(m_position - pixels / pageStride());
}

qreal PhotoPager::clampedPosition(qreal position) const
{
    return qBound(qreal(0), position, qreal(qMax(0, count() - 1)));
}

void PhotoPager::holdPages()
{
    // Where the pager goes, so that its picture is decoded while the animation runs.
    m_loader->setCenter(targetIndex());
}

void PhotoPager::sendPageSize()
{
    m_loader->setPageSize(size() * devicePixelRatioF());
}

void PhotoPager::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int first = int(std::floor(m_position));
    for (int index = qMax(0, first); index <= first + 1 && index < count(); ++index) {
        const QRectF page((index - m_position) * pageStride(), 0, width(), height());
        if (!page.intersects(rect()))
            continue;
        PhotoPainter::paint(
            &painter, page,
            {m_loader->picture(index), m_loader->placeholder(index), m_loader->isFailed(index)}, palette());
    }
}

void PhotoPager::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The first size at once, so that decoding starts; later ones once the resizing stops.
    if (m_loader->pageSize().isEmpty())
        sendPageSize();
    else
        m_sizeTimer->start();
}

void PhotoPager::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        return step(layoutDirection() == Qt::RightToLeft ? 1 : -1);
    case Qt::Key_Right:
        return step(layoutDirection() == Qt::RightToLeft ? -1 : 1);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (count() > 0)
            Q_EMIT zoomRequested(m_current);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PhotoPager::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const QPoint pixels = event->pixelDelta();
    if (!pixels.isNull()) {
        // A touchpad: the pictures follow the fingers.
        scrollBy(std::abs(pixels.x()) >= std::abs(pixels.y()) ? pixels.x() : pixels.y());
        if (event->phase() == Qt::ScrollEnd)
            settle();
        else
            m_settleTimer->start();
        return;
    }
    const QPoint angle = event->angleDelta();
    m_wheelAngle += std::abs(angle.x()) >= std::abs(angle.y()) ? angle.x() : angle.y();
    for (; m_wheelAngle >= wheelNotch; m_wheelAngle -= wheelNotch)
        step(-1);
    for (; m_wheelAngle <= -wheelNotch; m_wheelAngle += wheelNotch)
        step(1);
}

void PhotoPager::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_pressed = true;
    m_pressPos = event->position();
    m_pressPosition = m_position;
}

void PhotoPager::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return QWidget::mouseMoveEvent(event);
    const qreal dx = event->position().x() - m_pressPos.x();
    if (!m_dragging && std::abs(dx) < minimumDragDistance)
        return;
    m_dragging = true;
    m_animation->stop();
    m_settleTimer->stop();
    setPosition(m_pressPosition - dx / pageStride());
}

void PhotoPager::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return QWidget::mouseReleaseEvent(event);
    m_pressed = false;
    if (!m_dragging)
        return;
    m_dragging = false;
    const int start = qRound(m_pressPosition);
    int target = m_current;
    const qreal moved = m_position - m_pressPosition;
    if (target == start && std::abs(moved) > turnFraction)
        target = qBound(0, start + (moved > 0 ? 1 : -1), qMax(0, count() - 1));
    animateTo(target, settleMs);
}

void PhotoPager::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && count() > 0 &&
        m_animation->state() != QAbstractAnimation::Running)
        Q_EMIT zoomRequested(m_current);
}
