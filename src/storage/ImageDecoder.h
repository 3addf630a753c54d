#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Turns the bytes of a picture into an upright QImage, in memory only. PNG, GIF, JPEG, TIFF, WebP
// and BMP go through Qt's image readers, HEIC (and the other HEIF files) through libheif. The EXIF
// orientation, or the HEIF rotation and mirroring, is applied before any scaling.
//
// Every decode is priced first from the size the picture declares (PictureHeader) and waits for
// its bytes in the process's DecodeBudget; a picture over its limits is not decoded (null, as an
// undecodable one).
class ImageDecoder
{
public:
    ImageDecoder() = delete;

    // No picture whose decoded pixels would take more than this is decoded: a small file can
    // claim a huge size, and nothing that large could be cached anyway.
    static constexpr qint64 maxDecodedBytes = qint64(512) * 1024 * 1024;

    // The whole picture. Null when data is not a picture that can be read.
    static QImage decode(const QByteArray &data);

    // The picture scaled (up or down) to fittedSize(its size, edge). Where the reader can scale
    // while decoding (JPEG) the full-size picture is never in memory. Null as above.
    static QImage decodeFitted(const QByteArray &data, int edge);

    // The picture shrunk, while decoding where the reader can, to fit an edge × edge square;
    // smaller pictures keep their size. Null as above.
    static QImage decodeShrunk(const QByteArray &data, int edge);

    // The largest size with the aspect ratio of size inside an edge × edge square.
    static QSize fittedSize(QSize size, int edge);

    // Whether data is a HEIF file that libheif can decode.
    static bool isHeif(const QByteArray &data);

    // The Qt reader format that data's first bytes name ("jpeg", "png", "gif", "webp", "tiff",
    // "bmp"), "heif" for an ISO media file (HEIC, AVIF), empty when none matches. The file name's
    // extension says nothing: a PNG may be stored as ".JPEG".
    static QByteArray sniffFormat(const QByteArray &data);

private:
    enum class Fit { exact, shrinkOnly };
    static QImage decodeWithQt(const QByteArray &data, int edge, Fit fit);
    static QImage decodeHeif(const QByteArray &data, int edge, Fit fit);
};
