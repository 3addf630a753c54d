#include "storage/ExifThumbnail.h"

#include <QTransform>
#include <cstdint>
#include <optional>

namespace {

constexpr quint16 orientationTag = 0x0112;
constexpr quint16 thumbnailOffsetTag = 0x0201;
constexpr quint16 thumbnailLengthTag = 0x0202;
constexpr int entryBytes = 12;

// The TIFF structure inside the APP1 segment, read with its byte order; every read is checked.
class Tiff
{
public:
    explicit Tiff(QByteArrayView bytes) : m_bytes(bytes) {}

    bool readHeader()
    {
        if (m_bytes.size() < 8)
            return false;
        if (m_bytes.startsWith(QByteArrayView("II*\0", 4)))
            m_bigEndian = false;
        else if (m_bytes.startsWith(QByteArrayView("MM\0*", 4)))
            m_bigEndian = true;
        else
            return false;
        return true;
    }

    std::optional<quint32> u32(qint64 offset) const
    {
        if (offset < 0 || offset + 4 > m_bytes.size())
            return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const quint32 byte = quint8(m_bytes[qsizetype(offset + (m_bigEndian ? i : 3 - i))]);
            value = (value << 8) | byte;
        }
        return value;
    }

    std::optional<quint16> u16(qint64 offset) const
    {
        if (offset < 0 || offset + 2 > m_bytes.size())
            return std::nullopt;
        const quint16 first = quint8(m_bytes[qsizetype(offset)]);
        const quint16 second = quint8(m_bytes[qsizetype(offset + 1)]);
        return quint16(m_bigEndian ? (first << 8) | second : (second << 8) | first);
    }

    // A SHORT or LONG value held in the entry itself.
    std::optional<quint32> entryValue(qint64 entry) const
    {
        const std::optional<quint16> type = u16(entry + 2);
        const std::optional<quint32> count = u32(entry + 4);
        if (!type || !count || *count != 1)
            return std::nullopt;
        if (*type == 3)
            return u16(entry + 8);
        if (*type == 4)
            return u32(entry + 8);
        return std::nullopt;
    }

    // The entries of the IFD at offset, or nothing when they do not fit.
    std::optional<int> entryCount(qint64 offset) const
    {
        const std::optional<quint16> count = u16(offset);
        if (!count || offset + 2 + qint64(*count) * entryBytes + 4 > m_bytes.size())
            return std::nullopt;
        return int(*count);
    }

    qsizetype size() const { return m_bytes.size(); }
    QByteArrayView mid(qint64 offset, qint64 length) const { return m_bytes.sliced(offset, length); }

private:
    QByteArrayView m_bytes;
    bool m_bigEndian = false;
};

ExifThumbnail none()
{
    return {};
}

ExifThumbnail fromTiff(Tiff tiff)
{
    if (!tiff.readHeader())
        return none();
    ExifThumbnail result;
    const std::optional<quint32> ifd0 = tiff.u32(4);
    const std::optional<int> count0 = ifd0 ? tiff.entryCount(*ifd0) : std::nullopt;
    if (!count0)
        return none();
    for (int i = 0; i < *count0; ++i) {
        const qint64 entry = qint64(*ifd0) + 2 + qint64(i) * entryBytes;
        if (tiff.u16(entry) != orientationTag)
            continue;
        const std::optional<quint32> value = tiff.entryValue(entry);
        if (value && *value >= 1 && *value <= 8)
            result.orientation = int(*value);
    }
    const std::optional<quint32> ifd1 = tiff.u32(qint64(*ifd0) + 2 + qint64(*count0) * entryBytes);
    // IFD1 pointing back at IFD0 (or at the header) is a loop, not a preview.
    if (!ifd1 || *ifd1 < 8 || *ifd1 == *ifd0)
        return none();
    const std::optional<int> count1 = tiff.entryCount(*ifd1);
    if (!count1)
        return none();
    std::optional<quint32> offset;
    std::optional<quint32> length;
    for (int i = 0; i < *count1; ++i) {
        const qint64 entry = qint64(*ifd1) + 2 + qint64(i) * entryBytes;
        const std::optional<quint16> tag = tiff.u16(entry);
        if (tag == thumbnailOffsetTag)
            offset = tiff.entryValue(entry);
        else if (tag == thumbnailLengthTag)
            length = tiff.entryValue(entry);
    }
    // 64-bit sums: a length near 4 GiB must not wrap round into range.
    if (!offset || !length || *length < 4 || qint64(*offset) + qint64(*length) > tiff.size())
        return none();
    const QByteArrayView jpeg = tiff.mid(*offset, *length);
    if (!jpeg.startsWith("\xFF\xD8"))
        return none();
    result.status = ExifThumbnail::Status::found;
    result.jpeg = jpeg.toByteArray();
    return result;
}

} // namespace

ExifThumbnail ExifThumbnail::find(QByteArrayView prefix)
{
    if (!prefix.startsWith("\xFF\xD8"))
        return none();
    // Segments before the EXIF one: JFIF, or another application's. Each is walked over by its
    // length, which always moves forward; the first picture data ends the search.
    qint64 position = 2;
    for (;;) {
        if (position + 4 > prefix.size()) {
            if (position + 4 > maxSearchBytes)
                return none();
            return ExifThumbnail{Status::needMore, {}, position + 4, 1};
        }
        if (quint8(prefix[qsizetype(position)]) != 0xFF)
            return none();
        const quint8 marker = quint8(prefix[qsizetype(position + 1)]);
        if (marker == 0xFF) { // fill byte
            ++position;
            continue;
        }
        // Start of frame, scan, or end: the EXIF data would have come before.
        if (marker == 0xDA || marker == 0xD9 ||
            (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC))
            return none();
        const qint64 length =
            (qint64(quint8(prefix[qsizetype(position + 2)])) << 8) | quint8(prefix[qsizetype(position + 3)]);
        if (length < 2)
            return none();
        const qint64 end = position + 2 + length;
        if (marker == 0xE1) {
            if (end > prefix.size()) {
                if (end > maxSearchBytes)
                    return none();
                return ExifThumbnail{Status::needMore, {}, end, 1};
            }
            const QByteArrayView segment = prefix.sliced(qsizetype(position + 4), qsizetype(length - 2));
            if (segment.startsWith(QByteArrayView("Exif\0\0", 6)))
                return fromTiff(Tiff(segment.sliced(6)));
        }
        position = end;
    }
}

QImage ExifThumbnail::upright(const QImage &image, int orientation)
{
    const QTransform clockwise = QTransform().rotate(90);
    const QTransform counterClockwise = QTransform().rotate(-90);
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.mirrored(true, false).transformed(counterClockwise);
    case 6:
        return image.transformed(clockwise);
    case 7:
        return image.mirrored(true, false).transformed(clockwise);
    case 8:
        return image.transformed(counterClockwise);
    default:
        return image;
    }
}
