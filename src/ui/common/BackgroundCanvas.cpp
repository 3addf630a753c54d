#include "ui/common/BackgroundCanvas.h"

#include "ui/common/BackgroundPictures.h"

#include <QPainter>

BackgroundCanvas::BackgroundCanvas(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void BackgroundCanvas::setImage(const QString &image)
{
    if (m_image == image)
        return;
    m_image = image;
    m_picture = BackgroundPictures::picture(image);
    update();
}

void BackgroundCanvas::setOpacity(qreal opacity)
{
    m_opacity = opacity;
    update();
}

void BackgroundCanvas::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize scaled = m_picture.size().scaled(size(), Qt::KeepAspectRatioByExpanding);
    const QRect target(QPoint((width() - scaled.width()) / 2, (height() - scaled.height()) / 2), scaled);
    painter.drawPixmap(target, m_picture);
}
