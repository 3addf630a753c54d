#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

// JPEG files as cameras write them: an EXIF APP1 segment right after SOI, with the orientation in
// IFD0 and a small JPEG preview in IFD1 (JPEGInterchangeFormat and its length). Lies makes the
// segment claim what is not there.
namespace ExifPictures {

struct Lies
{
    qint64 offset = -1; // of the preview inside the TIFF data; -1: where it is
    qint64 length = -1; // of the preview; -1: its own
    qint64 ifd1 = -1;   // where IFD1 starts; -1: where it is
};

inline QByteArray segment(const QByteArray &preview, int orientation, Lies lies = {})
{
    // Little-endian TIFF: header (8 bytes), IFD0 holding Orientation (18), IFD1 with the two
    // preview tags (30), then the preview at 56.
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    const auto u16 = [&tiff](quint32 value) {
        tiff.append(char(value & 0xFF));
        tiff.append(char((value >> 8) & 0xFF));
    };
    const auto u32 = [&u16](quint32 value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    };
    u16(1);
    u16(0x0112), u16(3), u32(1), u16(quint32(orientation)), u16(0);
    u32(quint32(lies.ifd1 >= 0 ? lies.ifd1 : 26));
    u16(2);
    u16(0x0201), u16(4), u32(1), u32(quint32(lies.offset >= 0 ? lies.offset : 56));
    u16(0x0202), u16(4), u32(1), u32(quint32(lies.length >= 0 ? lies.length : preview.size()));
    u32(0);
    tiff += preview;
    const qsizetype length = 2 + 6 + tiff.size();
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char((length >> 8) & 0xFF));
    app1.append(char(length & 0xFF));
    app1.append("Exif\0\0", 6);
    app1 += tiff;
    return app1;
}

// jpeg with the segment put right after its SOI.
inline QByteArray withPreview(QByteArray jpeg, const QByteArray &preview, int orientation = 1, Lies lies = {})
{
    return jpeg.insert(2, segment(preview, orientation, lies));
}

// The 160 × 120 (or 120 × 160) preview a camera makes of image.
inline QByteArray previewOf(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image
        .scaled(image.width() >= image.height() ? QSize(160, 120) : QSize(120, 160), Qt::IgnoreAspectRatio,
                Qt::SmoothTransformation)
        .save(&buffer, "jpeg", 80);
    return buffer.data();
}

} // namespace ExifPictures
