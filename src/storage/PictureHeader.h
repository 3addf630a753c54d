#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>

// What a picture file declares about itself before a single pixel is decoded: its format, its size
// and what its decoder must hold for the whole picture. A file of a few hundred bytes may declare
// 65500 × 65500 pixels, so the size is read here, from the headers alone, and the decode budget
// (DecodeBudget) decides before any decoder is started. Reads bytes from anywhere: every length
// and offset is checked against the data.
struct PictureHeader
{
    enum class Format { unknown, jpeg, png, gif, webp, tiff, bmp, heif };

    Format format = Format::unknown;
    // The largest size the file declares (a frame larger than a GIF's screen, the largest HEIF
    // image); invalid when none could be read.
    QSize size;
    // Decoded bytes per pixel at most: 8 for 16-bit samples, else 4.
    int bytesPerPixel = 4;
    // Bytes a decoder keeps for the whole picture whatever the output size: a progressive or
    // multi-scan JPEG's coefficients. Zero for the others.
    qint64 wholePictureBytes = 0;

    // The format by the first bytes (the file name says nothing: a PNG may be stored as ".JPEG"),
    // and what its headers declare.
    static PictureHeader read(QByteArrayView data);
    // The format alone, by the first bytes.
    static Format sniff(QByteArrayView data);
    // Qt's reader format ("jpeg", "png", ...; "heif" for an ISO media file), empty for unknown.
    static QByteArray formatName(Format format);

    qint64 pixels() const { return size.isValid() ? qint64(size.width()) * size.height() : 0; }
};
