#include "ui/common/BackgroundPictures.h"

#include "core/BackgroundImage.h"
#include "ui/common/Symbols.h"

#include <QPixmapCache>

#include <algorithm>

QString BackgroundPictures::resourcePath(const QString &image)
{
    // Only names from the table: a stored setting must not reach other resources.
    const QList<BackgroundImage> &table = BackgroundImage::all();
    const bool known = std::any_of(table.cbegin(), table.cend(),
                                   [&](const BackgroundImage &row) { return row.image == image; });
    return known ? QStringLiteral(":/backgrounds/%1.jpg").arg(image) : QString();
}

QPixmap BackgroundPictures::picture(const QString &image)
{
    const QString path = resourcePath(image);
    if (path.isEmpty())
        return QPixmap();
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap) && !(pixmap = Symbols::bundledPicture(path)).isNull())
        QPixmapCache::insert(path, pixmap);
    return pixmap;
}

QPixmap BackgroundPictures::sorryClosed()
{
    return Symbols::bundledPicture(QStringLiteral(":/pictures/sorryClosed.png"));
}
