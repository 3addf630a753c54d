#pragma once

#include <QImage>
#include <QRectF>

class QPainter;
class QPalette;

// Draws one page of the photo viewer: the picture fitted into an area with its aspect kept; until
// it is ready the grid's tile scaled up, or a neutral frame with the "photo" symbol; the
// "x.circle" symbol when the picture cannot be shown.
class PhotoPainter
{
public:
    PhotoPainter() = delete;

    struct Page
    {
        QImage picture;
        QImage placeholder;
        bool failed = false;
    };

    // The largest rectangle of size's aspect ratio centred in area.
    static QRectF fitted(const QSizeF &size, const QRectF &area);
    static void paint(QPainter *painter, const QRectF &area, const Page &page, const QPalette &palette);

private:
    static void paintFrame(QPainter *painter, const QRectF &area, const QString &symbol,
                           const QPalette &palette);
};
