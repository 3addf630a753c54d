#include "ui/viewer/LocalPhotoView.h"

#include <QPainter>

LocalPhotoView::LocalPhotoView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("localPhotoView"));
}

void LocalPhotoView::setPage(const PhotoPainter::Page &page)
{
    m_page = page;
    update();
}

void LocalPhotoView::setZoom(const QTransform &transform, double opacity)
{
    m_transform = transform;
    m_opacity = opacity;
    update();
}

void LocalPhotoView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    painter.setTransform(m_transform);
    PhotoPainter::paint(&painter, rect(), m_page, palette());
}
