#include "core/BackgroundImage.h"

#include <QCoreApplication>
#include <QHash>

const QList<BackgroundImage> &BackgroundImage::all()
{
    // The names are shown translated by the background menu.
    static const QList<BackgroundImage> table{
        {QString::fromLatin1(QT_TRANSLATE_NOOP("BackgroundImageMenu", "Default")),
         QStringLiteral("background")},
        {QString::fromLatin1(QT_TRANSLATE_NOOP("BackgroundImageMenu", "Rings")),
         QStringLiteral("stonesInRing")},
        {QString::fromLatin1(QT_TRANSLATE_NOOP("BackgroundImageMenu", "Mirror")),
         QStringLiteral("tallStack")},
        {QString::fromLatin1(QT_TRANSLATE_NOOP("BackgroundImageMenu", "Water's Edge")),
         QStringLiteral("zenStones")},
        {QString::fromLatin1(QT_TRANSLATE_NOOP("BackgroundImageMenu", "Flower")),
         QStringLiteral("zenStonesWithFlowers")},
        {QString::fromLatin1(QT_TRANSLATE_NOOP("BackgroundImageMenu", "Triplets")),
         QStringLiteral("triplets")},
        {QString::fromLatin1(QT_TRANSLATE_NOOP("BackgroundImageMenu", "In the Dark")),
         QStringLiteral("darkZen")},
        {QString::fromLatin1(QT_TRANSLATE_NOOP("BackgroundImageMenu", "Life in the Sand")),
         QStringLiteral("lifeInSand")},
    };
    return table;
}

size_t qHash(const BackgroundImage &background, size_t seed) noexcept
{
    return qHashMulti(seed, background.name, background.image);
}
