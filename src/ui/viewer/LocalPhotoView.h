#pragma once

#include "ui/viewer/PhotoPainter.h"

#include <QTransform>
#include <QWidget>

// The zoomed picture: drawn fitted to the view through the zoom's transform, so that enlarging it
// never makes a larger copy of the picture.
class LocalPhotoView : public QWidget
{
    Q_OBJECT
public:
    // The scale the zoomed view opens at.
    static constexpr double zoomedScale = 2.0;

    explicit LocalPhotoView(QWidget *parent = nullptr);

    const PhotoPainter::Page &page() const { return m_page; }
    void setPage(const PhotoPainter::Page &page);
    // Maps the view's own coordinates to where they are drawn; opacity from 0 to 1.
    void setZoom(const QTransform &transform, double opacity);
    QTransform zoomTransform() const { return m_transform; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PhotoPainter::Page m_page;
    QTransform m_transform;
    double m_opacity = 1.0;
};
