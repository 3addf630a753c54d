#include "storage/ImageDecoder.h"

#include "core/Logging.h"
#include "storage/DecodeBudget.h"
#include "storage/HeifLibrary.h"
#include "storage/PictureHeader.h"

#include <QBuffer>
#include <QImageReader>
#include <memory>
#include <optional>

namespace {

constexpr int allocationLimitMiB = int(ImageDecoder::maxDecodedBytes / (1024 * 1024));

// libjpeg's own bound on its whole-picture buffers, read by every decoder it starts (JPEGMEM,
// "M" meaning 10^6 bytes): were a JPEG ever to need more than its price, it fails there rather
// than allocating. Set before main(), while no other thread reads the environment.
void capJpegMemory()
{
    if (qEnvironmentVariableIsEmpty("JPEGMEM"))
        qputenv("JPEGMEM", QByteArray::number(DecodeBudget::maxPictureBytes / 1000000) + 'M');
}
Q_CONSTRUCTOR_FUNCTION(capJpegMemory)

void logRefused(const PictureHeader &header)
{
    logError(QStringLiteral("Refused to decode a picture of %1 × %2 pixels")
                 .arg(header.size.width())
                 .arg(header.size.height()),
             QStringLiteral(__FILE__), QStringLiteral("decode"));
}

QSize larger(QSize a, QSize b)
{
    if (!a.isValid())
        return b;
    if (!b.isValid())
        return a;
    return qint64(a.width()) * a.height() >= qint64(b.width()) * b.height() ? a : b;
}

// edge, or the picture's own long edge when that is smaller and upscaling is not wanted.
int targetEdge(QSize size, int edge, bool upscale)
{
    return upscale ? edge : qMin(edge, qMax(size.width(), size.height()));
}

QImage scaledToFit(const QImage &image, int edge, bool upscale = true)
{
    if (image.isNull() || edge <= 0)
        return image;
    const QSize target = ImageDecoder::fittedSize(image.size(), targetEdge(image.size(), edge, upscale));
    if (target == image.size())
        return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Nothing when the picture is refused (its declared size is over the decode budget's limits) or
// cannot be read; the decode waits for its bytes in the budget.
std::optional<QImage> read(QImageReader &reader, PictureHeader header, qint64 fileBytes, int edge,
                           bool upscale)
{
    reader.setAutoTransform(true);
    reader.setAllocationLimit(allocationLimitMiB);
    // The stored size as the reader itself declares it, from the header, before any decoding;
    // the scaled size applies before the EXIF rotation, and a square edge makes the fit the same
    // either way.
    const QSize stored = reader.size();
    header.size = larger(header.size, stored);
    const QSize target = edge > 0 && stored.isValid()
                             ? ImageDecoder::fittedSize(stored, targetEdge(stored, edge, upscale))
                             : QSize();
    const std::optional<qint64> cost = DecodeBudget::cost(header, target, fileBytes);
    if (!cost) {
        if (header.size.isValid())
            logRefused(header);
        return std::nullopt;
    }
    const DecodeBudget::Reservation reservation = DecodeBudget::shared().reserve(*cost);
    if (target.isValid())
        reader.setScaledSize(target);
    return reader.read();
}
} // namespace

QImage ImageDecoder::decode(const QByteArray &data)
{
    return isHeif(data) ? decodeHeif(data, 0, Fit::exact) : decodeWithQt(data, 0, Fit::exact);
}

QImage ImageDecoder::decodeFitted(const QByteArray &data, int edge)
{
    if (isHeif(data))
        return decodeHeif(data, edge, Fit::exact);
    return decodeWithQt(data, edge, Fit::exact);
}

QImage ImageDecoder::decodeShrunk(const QByteArray &data, int edge)
{
    if (isHeif(data))
        return decodeHeif(data, edge, Fit::shrinkOnly);
    return decodeWithQt(data, edge, Fit::shrinkOnly);
}

QSize ImageDecoder::fittedSize(QSize size, int edge)
{
    if (size.isEmpty() || edge <= 0)
        return {};
    const double scale = double(edge) / qMax(size.width(), size.height());
    return {qBound(1, qRound(size.width() * scale), edge), qBound(1, qRound(size.height() * scale), edge)};
}

bool ImageDecoder::isHeif(const QByteArray &data)
{
    // Only an ISO media file can be one: other pictures do not load libheif.
    if (PictureHeader::sniff(data) != PictureHeader::Format::heif)
        return false;
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.constData());
    const int length = int(qMin<qsizetype>(data.size(), 64));
    const HeifLibrary *heif = length >= 12 ? HeifLibrary::get() : nullptr;
    return heif && heif->check_filetype(bytes, length) == heif_filetype_yes_supported;
}

QByteArray ImageDecoder::sniffFormat(const QByteArray &data)
{
    return PictureHeader::formatName(PictureHeader::sniff(data));
}

QImage ImageDecoder::decodeWithQt(const QByteArray &data, int edge, Fit fit)
{
    const bool upscale = fit == Fit::exact;
    const PictureHeader header = PictureHeader::read(data);
    QBuffer buffer;
    buffer.setData(data); // shares the bytes, no copy
    buffer.open(QIODevice::ReadOnly);
    std::optional<QImage> image;
    // Told the format, with guessing off, Qt loads only that format's plugin; left to guess, it
    // loads every installed one to ask it. Guessing is for what the first bytes do not name.
    if (const QByteArray format = PictureHeader::formatName(header.format);
        !format.isEmpty() && format != "heif") {
        QImageReader reader(&buffer, format);
        reader.setAutoDetectImageFormat(false);
        image = read(reader, header, data.size(), edge, upscale);
        if (!image)
            return {}; // refused: not decoded at all, by no other reader either
        buffer.seek(0);
    }
    if (!image || image->isNull()) {
        QImageReader reader(&buffer);
        image = read(reader, PictureHeader{}, data.size(), edge, upscale);
    }
    if (!image || image->isNull())
        return {};
    return scaledToFit(*image, edge, upscale);
}

QImage ImageDecoder::decodeHeif(const QByteArray &data, int edge, Fit fit)
{
    const bool upscale = fit == Fit::exact;
    const HeifLibrary *heif = HeifLibrary::get();
    if (!heif)
        return {};
    HeifLibrary::Context context(heif->context_alloc());
    if (!context)
        return {};
    if (heif->context_read_from_memory_without_copy(context.get(), data.constData(), size_t(data.size()),
                                                    nullptr)
            .code != heif_error_Ok)
        return {};
    heif_image_handle *rawHandle = nullptr;
    if (heif->context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return {};
    const HeifLibrary::Handle handle(rawHandle);
    // The size the file declares, and the one libheif found for the primary image, whichever is
    // larger, before anything is decoded.
    PictureHeader header = PictureHeader::read(data);
    header.size = larger(header.size, QSize(heif->image_handle_get_width(handle.get()),
                                            heif->image_handle_get_height(handle.get())));
    const QSize target = edge > 0 ? fittedSize(header.size, targetEdge(header.size, edge, upscale)) : QSize();
    const std::optional<qint64> cost = DecodeBudget::cost(header, target, data.size());
    if (!cost) {
        logRefused(header);
        return {};
    }
    const DecodeBudget::Reservation reservation = DecodeBudget::shared().reserve(*cost);

    return scaledToFit(heif->decodeUpright(handle.get()), edge, upscale);
}
