#include "ui/viewer/PhotoPainter.h"

#include "ui/common/Symbols.h"

#include <QPainter>
#include <QPalette>

namespace {
constexpr double symbolEdge = 64;
// A frame of a usual photo's shape while nothing tells the picture's own.
const QSizeF frameShape(4, 3);
} // namespace

QRectF PhotoPainter::fitted(const QSizeF &size, const QRectF &area)
{
    if (size.isEmpty() || area.isEmpty())
        return {};
    QRectF target(QPointF(), size.scaled(area.size(), Qt::KeepAspectRatio));
    target.moveCenter(area.center());
    return target;
}

void PhotoPainter::paint(QPainter *painter, const QRectF &area, const Page &page, const QPalette &palette)
{
    const QImage &image = page.picture.isNull() ? page.placeholder : page.picture;
    if (page.failed || image.isNull()) {
        paintFrame(painter, area, page.failed ? QStringLiteral("x.circle") : QStringLiteral("photo"),
                   palette);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(fitted(image.size(), area), image);
    painter->restore();
}

void PhotoPainter::paintFrame(QPainter *painter, const QRectF &area, const QString &symbol,
                              const QPalette &palette)
{
    const QRectF frame = fitted(frameShape, area.adjusted(24, 24, -24, -24));
    if (frame.isEmpty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QColor neutral = palette.color(QPalette::Mid);
    neutral.setAlpha(90);
    painter->setPen(Qt::NoPen);
    painter->setBrush(neutral);
    painter->drawRoundedRect(frame, 12, 12);
    const double edge = qMin(symbolEdge, qMin(frame.width(), frame.height()) / 2);
    QRectF symbolArea(0, 0, edge, edge);
    symbolArea.moveCenter(frame.center());
    Symbols::icon(symbol).paint(painter, symbolArea.toAlignedRect());
    painter->restore();
}
