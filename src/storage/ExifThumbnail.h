#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

// The preview a camera writes into a JPEG's EXIF data (IFD1's JPEGInterchangeFormat, typically
// 160 × 120), found in the first bytes of the file, and the orientation of the photo (IFD0).
// The bytes may come from anyone: every offset and length is checked against what was given, and
// anything that does not add up is "none", never a read outside the bytes.
struct ExifThumbnail
{
    enum class Status {
        found,    // jpeg holds the preview's bytes
        needMore, // the EXIF segment ends past the bytes given: read neededBytes and ask again
        none      // no preview, or one that cannot be trusted
    };

    Status status = Status::none;
    QByteArray jpeg;
    qint64 neededBytes = 0;
    int orientation = 1; // EXIF orientation, 1–8

    // The most bytes a search may ask for: the EXIF segment must begin near the start of the file.
    static constexpr qint64 maxSearchBytes = 256 * 1024;

    // prefix: the first bytes of a file (all of it, or more than the start of the EXIF segment).
    static ExifThumbnail find(QByteArrayView prefix);
    // image (as stored) turned upright by an EXIF orientation; any other value leaves it as it is.
    static QImage upright(const QImage &image, int orientation);
};
