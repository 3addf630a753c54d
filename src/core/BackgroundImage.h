#pragma once

#include <QList>
#include <QString>

// A background picture: its display name and the name of its resource.
struct BackgroundImage
{
    QString name;
    QString image;

    // The fixed, ordered table of the pictures the application ships.
    static const QList<BackgroundImage> &all();

    friend bool operator==(const BackgroundImage &, const BackgroundImage &) = default;
};

size_t qHash(const BackgroundImage &background, size_t seed = 0) noexcept;
