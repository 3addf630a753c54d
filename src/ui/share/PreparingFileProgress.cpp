#include "ui/share/PreparingFileProgress.h"

#include "ui/share/ActivityIndicator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace {
constexpr qreal cornerRadius = 12;
} // namespace

PreparingFileProgress::PreparingFileProgress(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("preparingFileProgress"));
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    auto *label = new QLabel(tr("Preparing item..."));
    label->setObjectName(QStringLiteral("preparingLabel"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(12);
    auto *indicator = new ActivityIndicator;
    indicator->setAccessibleName(label->text());
    layout->addWidget(indicator);
    layout->addWidget(label);
    setAccessibleName(label->text());
}

void PreparingFileProgress::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
}
