#pragma once

#include <QByteArray>
#include <QSize>

#include <initializer_list>

// Picture files that declare far more pixels than they hold, written header by header: a few
// hundred bytes each, as an attacker would make them. Each one is well-formed enough for its
// decoder to believe the declared size and start on it.
namespace HostilePictures {

inline QByteArray raw(std::initializer_list<char> bytes)
{
    return QByteArray(bytes.begin(), qsizetype(bytes.size()));
}

inline QByteArray bigEndian16(int value)
{
    return raw({char((value >> 8) & 0xFF), char(value & 0xFF)});
}

inline QByteArray bigEndian32(quint32 value)
{
    return bigEndian16(int(value >> 16)) + bigEndian16(int(value & 0xFFFF));
}

inline QByteArray littleEndian16(int value)
{
    return raw({char(value & 0xFF), char((value >> 8) & 0xFF)});
}

inline QByteArray littleEndian32(quint32 value)
{
    return littleEndian16(int(value & 0xFFFF)) + littleEndian16(int(value >> 16));
}

// A JPEG whose first scan holds a few DC values: a progressive one keeps every block's
// coefficients (2 bytes × 64 per 8 × 8 block and component) for the whole picture.
inline QByteArray jpeg(QSize size, int components = 3, bool progressive = true)
{
    QByteArray data("\xFF\xD8", 2);
    data += QByteArray("\xFF\xDB", 2) + bigEndian16(67) + QByteArray(1, '\0') + QByteArray(64, '\1');
    data += QByteArray("\xFF", 1) + char(progressive ? 0xC2 : 0xC0) + bigEndian16(8 + 3 * components) +
            '\x08' + bigEndian16(size.height()) + bigEndian16(size.width()) + char(components);
    for (int id = 1; id <= components; ++id)
        data += raw({char(id), '\x11', '\0'});
    // One DC code of one bit: every block's DC difference is 0.
    data += QByteArray("\xFF\xC4", 2) + bigEndian16(20) + QByteArray(1, '\0') + QByteArray(1, '\1') +
            QByteArray(15, '\0') + QByteArray(1, '\0');
    if (!progressive) // a baseline scan needs an AC table too: one code, end of block
        data += QByteArray("\xFF\xC4", 2) + bigEndian16(20) + QByteArray(1, '\x10') + QByteArray(1, '\1') +
                QByteArray(15, '\0') + QByteArray(1, '\0');
    data += QByteArray("\xFF\xDA", 2) + bigEndian16(6 + 2 * components) + char(components);
    for (int id = 1; id <= components; ++id)
        data += raw({char(id), '\0'});
    data += progressive ? QByteArray("\x00\x00\x00", 3) : QByteArray("\x00\x3F\x00", 3);
    data += QByteArray(256, '\0') + QByteArray("\xFF\xD9", 2);
    return data;
}

inline quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline QByteArray pngChunk(const QByteArray &type, const QByteArray &payload)
{
    return bigEndian32(quint32(payload.size())) + type + payload + bigEndian32(crc32(type + payload));
}

// An RGBA PNG (16 bits per sample when asked) whose image data is one empty stored block.
inline QByteArray png(QSize size, int depth = 8)
{
    const QByteArray header = bigEndian32(quint32(size.width())) + bigEndian32(quint32(size.height())) +
                              char(depth) + QByteArray("\x06\0\0\0", 4);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", QByteArray("\x78\x01\x01\x00\x00\xFF\xFF\x00\x00\x00\x01", 11)) +
           pngChunk("IEND", {});
}

inline QByteArray gif(QSize size)
{
    return QByteArray("GIF89a") + littleEndian16(size.width()) + littleEndian16(size.height()) +
           QByteArray("\x80\0\0", 3) + QByteArray(6, '\0') + "\x2C" + littleEndian16(0) + littleEndian16(0) +
           littleEndian16(size.width()) + littleEndian16(size.height()) +
           QByteArray("\0\x02\x02\x44\x01\0;", 7);
}

// An extended WebP canvas with one lossless picture of the same size.
inline QByteArray webp(QSize size)
{
    const quint32 w = quint32(size.width() - 1), h = quint32(size.height() - 1);
    const QByteArray canvas = QByteArray(4, '\0') + littleEndian32(w).left(3) + littleEndian32(h).left(3);
    const QByteArray lossless =
        QByteArray(1, '\x2F') + littleEndian32((w & 0x3FFF) | ((h & 0x3FFF) << 14)) + QByteArray(27, '\0');
    const QByteArray chunks = QByteArray("VP8X") + littleEndian32(quint32(canvas.size())) + canvas + "VP8L" +
                              littleEndian32(quint32(lossless.size())) + lossless;
    return QByteArray("RIFF") + littleEndian32(quint32(4 + chunks.size())) + "WEBP" + chunks;
}

// One uncompressed strip of 8-bit RGB that is not there.
inline QByteArray tiff(QSize size)
{
    const auto entry = [](int tag, int type, quint32 count, quint32 value) -> QByteArray {
        return littleEndian16(tag) + littleEndian16(type) + littleEndian32(count) + littleEndian32(value);
    };
    QByteArray directory = littleEndian16(9);
    directory += entry(256, 4, 1, quint32(size.width()));
    directory += entry(257, 4, 1, quint32(size.height()));
    directory += entry(258, 3, 1, 8);
    directory += entry(259, 3, 1, 1);
    directory += entry(262, 3, 1, 2);
    directory += entry(273, 4, 1, 8);
    directory += entry(277, 3, 1, 3);
    directory += entry(278, 4, 1, quint32(size.height()));
    directory += entry(279, 4, 1, quint32(size.width()) * quint32(size.height()) * 3);
    directory += littleEndian32(0);
    return QByteArray("II*\0", 4) + littleEndian32(8) + directory;
}

inline QByteArray bmp(QSize size)
{
    const QByteArray info = littleEndian32(40) + littleEndian32(quint32(size.width())) +
                            littleEndian32(quint32(size.height())) + littleEndian16(1) + littleEndian16(24) +
                            QByteArray(24, '\0');
    return QByteArray("BM") + littleEndian32(quint32(14 + info.size())) + QByteArray(4, '\0') +
           littleEndian32(quint32(14 + info.size())) + info;
}

// The same HEIF file with every declared image size ("ispe") set to size.
inline QByteArray withDeclaredSize(QByteArray heif, QSize size)
{
    for (qsizetype at = heif.indexOf("ispe"); at > 0; at = heif.indexOf("ispe", at + 4))
        heif.replace(at + 8, 8,
                     QByteArray(bigEndian32(quint32(size.width())) + bigEndian32(quint32(size.height()))));
    return heif;
}

} // namespace HostilePictures
