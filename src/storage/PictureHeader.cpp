#include "storage/PictureHeader.h"

#include <QList>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace {
using Format = PictureHeader::Format;

// Bounds-checked reads: every one answers nothing past the end of the data.
class Bytes
{
public:
    explicit Bytes(QByteArrayView data) : m_data(data) {}

    qsizetype size() const { return m_data.size(); }
    bool has(qsizetype offset, qsizetype length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_data.size() && length <= m_data.size() - offset;
    }
    bool startsWith(qsizetype offset, QByteArrayView magic) const
    {
        return has(offset, magic.size()) && m_data.sliced(offset, magic.size()) == magic;
    }
    std::optional<quint64> unsignedAt(qsizetype offset, int length, bool bigEndian) const
    {
        if (!has(offset, length))
            return std::nullopt;
        quint64 value = 0;
        for (int i = 0; i < length; ++i) {
            const quint64 byte = quint8(m_data[offset + (bigEndian ? i : length - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }
    std::optional<quint64> be(qsizetype offset, int length) const { return unsignedAt(offset, length, true); }
    std::optional<quint64> le(qsizetype offset, int length) const
    {
        return unsignedAt(offset, length, false);
    }
    std::optional<quint8> byte(qsizetype offset) const
    {
        return has(offset, 1) ? std::optional<quint8>(quint8(m_data[offset])) : std::nullopt;
    }

private:
    QByteArrayView m_data;
};

// A size only when both sides are positive and fit a QSize.
QSize sizeOf(quint64 width, quint64 height)
{
    constexpr quint64 most = quint64(std::numeric_limits<int>::max());
    if (width == 0 || height == 0 || width > most || height > most)
        return {};
    return QSize(int(width), int(height));
}

QSize larger(QSize a, QSize b)
{
    if (!a.isValid())
        return b;
    if (!b.isValid())
        return a;
    return qint64(a.width()) * a.height() >= qint64(b.width()) * b.height() ? a : b;
}

bool isStartOfFrame(quint8 marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

void readJpeg(const Bytes &bytes, PictureHeader &header)
{
    struct Component
    {
        int h = 0;
        int v = 0;
    };
    QList<Component> components;
    bool progressive = false;
    std::optional<int> componentsInFirstScan;
    qsizetype at = 2;
    while (!componentsInFirstScan) {
        // A marker: 0xFF, any fill bytes, then its code.
        if (bytes.byte(at) != 0xFF)
            break;
        while (bytes.byte(at) == 0xFF)
            ++at;
        const std::optional<quint8> marker = bytes.byte(at++);
        if (!marker || *marker == 0xD9)
            break;
        if (*marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD8))
            continue; // no length follows
        const std::optional<quint64> length = bytes.be(at, 2);
        if (!length || *length < 2)
            break;
        const qsizetype segment = at + 2;
        if (isStartOfFrame(*marker) && components.isEmpty()) {
            const std::optional<quint64> height = bytes.be(segment + 1, 2);
            const std::optional<quint64> width = bytes.be(segment + 3, 2);
            const std::optional<quint8> count = bytes.byte(segment + 5);
            if (!height || !width || !count || *count == 0)
                return;
            for (int i = 0; i < *count; ++i) {
                const std::optional<quint8> sampling = bytes.byte(segment + 6 + 3 * i + 1);
                if (!sampling)
                    return;
                const Component component{*sampling >> 4, *sampling & 0x0F};
                if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4)
                    return;
                components.append(component);
            }
            // A height of 0 is defined later by a DNL marker, which the decoder refuses anyway.
            header.size = sizeOf(*width, *height);
            progressive = *marker == 0xC2 || *marker == 0xC6 || *marker == 0xCA || *marker == 0xCE;
        } else if (*marker == 0xDA && !components.isEmpty()) {
            if (const std::optional<quint8> count = bytes.byte(segment))
                componentsInFirstScan = *count;
            break;
        }
        at = segment + qsizetype(*length) - 2;
    }
    if (components.isEmpty() || !header.size.isValid())
        return;
    // One scan for all components is decoded row by row; any other layout (progressive, several
    // scans, or a scan not seen in the data) keeps every block's coefficients.
    if (!progressive && componentsInFirstScan == components.size())
        return;
    const int hMax =
        std::max_element(components.cbegin(), components.cend(), [](auto a, auto b) { return a.h < b.h; })->h;
    const int vMax =
        std::max_element(components.cbegin(), components.cend(), [](auto a, auto b) { return a.v < b.v; })->v;
    const auto blocks = [](qint64 pixels, int factor, int most) {
        const qint64 samples = (pixels * factor + most - 1) / most;
        const qint64 count = (samples + 7) / 8;
        return (count + factor - 1) / factor * factor; // whole MCUs
    };
    for (const Component &component : std::as_const(components))
        header.wholePictureBytes += blocks(header.size.width(), component.h, hMax) *
                                    blocks(header.size.height(), component.v, vMax) * 64 * 2;
}

void readPng(const Bytes &bytes, PictureHeader &header)
{
    if (!bytes.startsWith(12, "IHDR"))
        return;
    const std::optional<quint64> width = bytes.be(16, 4);
    const std::optional<quint64> height = bytes.be(20, 4);
    const std::optional<quint8> depth = bytes.byte(24);
    if (!width || !height || !depth)
        return;
    header.size = sizeOf(*width, *height);
    header.bytesPerPixel = *depth > 8 ? 8 : 4;
}

void readGif(const Bytes &bytes, PictureHeader &header)
{
    const std::optional<quint64> width = bytes.le(6, 2);
    const std::optional<quint64> height = bytes.le(8, 2);
    const std::optional<quint8> flags = bytes.byte(10);
    if (!width || !height || !flags)
        return;
    QSize size = sizeOf(*width, *height);
    qsizetype at = 13 + ((*flags & 0x80) ? 3 * (qsizetype(2) << (*flags & 0x07)) : 0);
    // The first image may reach past the screen: the decoder makes room for it.
    for (int block = 0; block < 1024; ++block) {
        const std::optional<quint8> introducer = bytes.byte(at);
        if (introducer == 0x21) {
            at += 2;
            for (std::optional<quint8> length = bytes.byte(at); length && *length; length = bytes.byte(at))
                at += 1 + *length;
            ++at;
            continue;
        }
        if (introducer == 0x2C) {
            const std::optional<quint64> left = bytes.le(at + 1, 2), top = bytes.le(at + 3, 2);
            const std::optional<quint64> frameWidth = bytes.le(at + 5, 2), frameHeight = bytes.le(at + 7, 2);
            if (left && top && frameWidth && frameHeight && size.isValid())
                size = QSize(std::max<int>(size.width(), int(*left + *frameWidth)),
                             std::max<int>(size.height(), int(*top + *frameHeight)));
        }
        break;
    }
    header.size = size;
}

void readWebp(const Bytes &bytes, PictureHeader &header)
{
    QSize size;
    qsizetype at = 12;
    for (int chunk = 0; chunk < 64 && bytes.has(at, 8); ++chunk) {
        const qsizetype payload = at + 8;
        const quint64 length = *bytes.le(at + 4, 4);
        if (bytes.startsWith(at, "VP8X")) {
            const std::optional<quint64> width = bytes.le(payload + 4, 3), height = bytes.le(payload + 7, 3);
            if (width && height)
                size = larger(size, sizeOf(*width + 1, *height + 1));
        } else if (bytes.startsWith(at, "VP8 ") && bytes.startsWith(payload + 3, "\x9d\x01\x2a")) {
            const std::optional<quint64> width = bytes.le(payload + 6, 2), height = bytes.le(payload + 8, 2);
            if (width && height)
                size = larger(size, sizeOf(*width & 0x3FFF, *height & 0x3FFF));
        } else if (bytes.startsWith(at, "VP8L") && bytes.byte(payload) == 0x2F) {
            if (const std::optional<quint64> bits = bytes.le(payload + 1, 4))
                size = larger(size, sizeOf((*bits & 0x3FFF) + 1, ((*bits >> 14) & 0x3FFF) + 1));
        }
        if (length > quint64(bytes.size()))
            break;
        at = payload + qsizetype(length) + qsizetype(length & 1);
    }
    header.size = size;
}

void readTiff(const Bytes &bytes, PictureHeader &header)
{
    const bool big = bytes.startsWith(0, "MM");
    const std::optional<quint64> version = bytes.unsignedAt(2, 2, big);
    if (version != 42u && version != 43u)
        return;
    const bool bigTiff = version == 43u;
    const std::optional<quint64> first = bigTiff ? bytes.unsignedAt(8, 8, big) : bytes.unsignedAt(4, 4, big);
    if (!first || *first > quint64(bytes.size()))
        return;
    const qsizetype directory = qsizetype(*first);
    const std::optional<quint64> count =
        bigTiff ? bytes.unsignedAt(directory, 8, big) : bytes.unsignedAt(directory, 2, big);
    if (!count)
        return;
    const int entrySize = bigTiff ? 20 : 12;
    const int valueSize = bigTiff ? 8 : 4;
    const qsizetype entries = directory + (bigTiff ? 8 : 2);
    quint64 width = 0, height = 0, bitsPerSample = 8;
    for (quint64 i = 0; i < std::min<quint64>(*count, 4096); ++i) {
        const qsizetype entry = entries + qsizetype(i) * entrySize;
        const std::optional<quint64> tag = bytes.unsignedAt(entry, 2, big);
        const std::optional<quint64> type = bytes.unsignedAt(entry + 2, 2, big);
        const std::optional<quint64> values = bytes.unsignedAt(entry + 4, valueSize, big);
        if (!tag || !type || !values)
            break;
        // SHORT, LONG or LONG8; the first value is read from where the entry keeps it.
        const int size = *type == 3 ? 2 : *type == 4 ? 4 : *type == 16 ? 8 : 0;
        if (size == 0 || *values == 0)
            continue;
        qsizetype at = entry + 4 + valueSize;
        if (*values > quint64(valueSize / size)) {
            const std::optional<quint64> offset = bytes.unsignedAt(at, valueSize, big);
            if (!offset || *offset > quint64(bytes.size()))
                continue;
            at = qsizetype(*offset);
        }
        const std::optional<quint64> value = bytes.unsignedAt(at, size, big);
        if (!value)
            continue;
        if (*tag == 256)
            width = *value;
        else if (*tag == 257)
            height = *value;
        else if (*tag == 258)
            bitsPerSample = *value;
    }
    header.size = sizeOf(width, height);
    header.bytesPerPixel = bitsPerSample > 8 ? 8 : 4;
}

void readBmp(const Bytes &bytes, PictureHeader &header)
{
    const std::optional<quint64> infoSize = bytes.le(14, 4);
    if (!infoSize)
        return;
    if (*infoSize == 12) {
        const std::optional<quint64> width = bytes.le(18, 2), height = bytes.le(20, 2);
        if (width && height)
            header.size = sizeOf(*width, *height);
        return;
    }
    const std::optional<quint64> width = bytes.le(18, 4), height = bytes.le(22, 4);
    if (!width || !height)
        return;
    // Signed: a negative height is a picture stored top down.
    const qint64 rows = qint64(qint32(quint32(*height)));
    header.size = sizeOf(quint64(qint32(quint32(*width)) > 0 ? *width : 0),
                         rows == std::numeric_limits<qint32>::min() ? 0 : quint64(rows < 0 ? -rows : rows));
}

// ISO media boxes: the declared image sizes ("ispe") inside meta / iprp / ipco.
void readBoxes(const Bytes &bytes, qsizetype from, qsizetype to, int depth, QSize &largest, int &boxes)
{
    qsizetype at = from;
    while (at < to && bytes.has(at, 8) && ++boxes < 4096) {
        const quint64 declared = *bytes.be(at, 4);
        qsizetype headerLength = 8;
        quint64 length = declared;
        if (declared == 1) {
            const std::optional<quint64> large = bytes.be(at + 8, 8);
            if (!large)
                return;
            length = *large;
            headerLength = 16;
        } else if (declared == 0) {
            length = quint64(to - at);
        }
        if (length < quint64(headerLength) || length > quint64(to - at))
            return;
        const qsizetype end = at + qsizetype(length);
        if (bytes.startsWith(at + 4, "ispe")) {
            const std::optional<quint64> width = bytes.be(at + headerLength + 4, 4);
            const std::optional<quint64> height = bytes.be(at + headerLength + 8, 4);
            if (width && height)
                largest = larger(largest, sizeOf(*width, *height));
        } else if (depth < 4 && bytes.startsWith(at + 4, "meta")) {
            readBoxes(bytes, at + headerLength + 4, end, depth + 1, largest, boxes); // a full box
        } else if (depth < 4 && (bytes.startsWith(at + 4, "iprp") || bytes.startsWith(at + 4, "ipco"))) {
            readBoxes(bytes, at + headerLength, end, depth + 1, largest, boxes);
        }
        at = end;
    }
}

void readHeif(const Bytes &bytes, PictureHeader &header)
{
    QSize largest;
    int boxes = 0;
    readBoxes(bytes, 0, bytes.size(), 0, largest, boxes);
    header.size = largest;
}
} // namespace

PictureHeader::Format PictureHeader::sniff(QByteArrayView data)
{
    const Bytes bytes(data);
    if (bytes.startsWith(0, "\xFF\xD8\xFF"))
        return Format::jpeg;
    if (bytes.startsWith(0, "\x89PNG\r\n\x1A\n"))
        return Format::png;
    if (bytes.startsWith(0, "GIF87a") || bytes.startsWith(0, "GIF89a"))
        return Format::gif;
    if (bytes.startsWith(0, "RIFF") && bytes.startsWith(8, "WEBP"))
        return Format::webp;
    if (bytes.startsWith(0, QByteArrayView("II*\0", 4)) || bytes.startsWith(0, QByteArrayView("MM\0*", 4)) ||
        bytes.startsWith(0, QByteArrayView("II+\0", 4)) || bytes.startsWith(0, QByteArrayView("MM\0+", 4)))
        return Format::tiff;
    if (bytes.startsWith(0, "BM") && bytes.has(14, 4))
        return Format::bmp;
    if (bytes.startsWith(4, "ftyp"))
        return Format::heif;
    return Format::unknown;
}

QByteArray PictureHeader::formatName(Format format)
{
    switch (format) {
    case Format::jpeg:
        return "jpeg";
    case Format::png:
        return "png";
    case Format::gif:
        return "gif";
    case Format::webp:
        return "webp";
    case Format::tiff:
        return "tiff";
    case Format::bmp:
        return "bmp";
    case Format::heif:
        return "heif";
    case Format::unknown:
        break;
    }
    return {};
}

PictureHeader PictureHeader::read(QByteArrayView data)
{
    PictureHeader header;
    header.format = sniff(data);
    const Bytes bytes(data);
    switch (header.format) {
    case Format::jpeg:
        readJpeg(bytes, header);
        break;
    case Format::png:
        readPng(bytes, header);
        break;
    case Format::gif:
        readGif(bytes, header);
        break;
    case Format::webp:
        readWebp(bytes, header);
        break;
    case Format::tiff:
        readTiff(bytes, header);
        break;
    case Format::bmp:
        readBmp(bytes, header);
        break;
    case Format::heif:
        readHeif(bytes, header);
        break;
    case Format::unknown:
        break;
    }
    return header;
}
