#include "core/BackgroundImage.h"

#include <QHash>

const QList<BackgroundImage> &BackgroundImage::all()
{
    static const QList<BackgroundImage> table{
        {QStringLiteral("Default"), QStringLiteral("background")},
        {QStringLiteral("Rings"), QStringLiteral("stonesInRing")},
        {QStringLiteral("Mirror"), QStringLiteral("tallStack")},
        {QStringLiteral("Water's Edge"), QStringLiteral("zenStones")},
        {QStringLiteral("Flower"), QStringLiteral("zenStonesWithFlowers")},
        {QStringLiteral("Triplets"), QStringLiteral("triplets")},
        {QStringLiteral("In the Dark"), QStringLiteral("darkZen")},
        {QStringLiteral("Life in the Sand"), QStringLiteral("lifeInSand")},
    };
    return table;
}

size_t qHash(const BackgroundImage &background, size_t seed) noexcept
{
    return qHashMulti(seed, background.name, background.image);
}
