#include "ui/share/ActivityIndicator.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QTimer>

namespace {
constexpr int spokes = 12;
constexpr int stepMs = 80;

// A progress bar of no known length, as desktop toolkits report a busy indicator: a range of
// nothing, so that screen readers say "busy" with the name its owner gives it.
class BusyInterface : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit BusyInterface(QWidget *indicator) : QAccessibleWidget(indicator, QAccessible::ProgressBar) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return 0; }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return 0; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 0; }
};

QAccessibleInterface *busyFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ActivityIndicator") && object && object->isWidgetType())
        return new BusyInterface(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ActivityIndicator::ActivityIndicator(QWidget *parent) : QWidget(parent), m_timer(new QTimer(this))
{
    QAccessible::installFactory(&busyFactory);
    setObjectName(QStringLiteral("activityIndicator"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_timer->setInterval(stepMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % spokes;
        update();
    });
}

QSize ActivityIndicator::sizeHint() const
{
    const int edge = fontMetrics().height() * 3 / 2;
    return {edge, edge};
}

void ActivityIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = qMin(width(), height()) / 2.0;
    painter.translate(width() / 2.0, height() / 2.0);
    QColor color = palette().color(QPalette::WindowText);
    QPen pen;
    pen.setWidthF(qMax(1.5, radius / 5));
    pen.setCapStyle(Qt::RoundCap);
    for (int spoke = 0; spoke < spokes; ++spoke) {
        // The newest spoke is the darkest; the others fade behind it.
        const int age = (m_step - spoke + spokes) % spokes;
        color.setAlphaF(1.0 - 0.75 * age / (spokes - 1));
        pen.setColor(color);
        painter.setPen(pen);
        painter.drawLine(QPointF(0, -radius * 0.5), QPointF(0, -radius * 0.9));
        painter.rotate(360.0 / spokes);
    }
}

void ActivityIndicator::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer->start();
}

void ActivityIndicator::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timer->stop();
}
