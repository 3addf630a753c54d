#pragma once

#include <QBuffer>
#include <QColor>
#include <QDirIterator>
#include <QImage>
#include <QSize>
#include <QStringList>

// A PNG of one colour, different for every seed.
inline QByteArray pngPicture(int seed, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(seed * 37 % 360, 200, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Every file and folder under path, hidden ones too, sorted.
inline QStringList filesUnder(const QString &path)
{
    QStringList files;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}
