#include "ImageDecoder.h"

#include "HeifLibrary.h"
#include <QBuffer>
#include <QImageReader>
#include <memory>

namespace {

struct HeifContextFree
{
    void operator()(heif_context *context) const { HeifLibrary::get()->context_free(context); }
};
struct HeifHandleRelease
{
    void operator()(heif_image_handle *handle) const { HeifLibrary::get()->image_handle_release(handle); }
};
struct HeifImageRelease
{
    void operator()(heif_image *image) const { HeifLibrary::get()->image_release(image); }
};
struct HeifOptionsFree
{
    void operator()(heif_decoding_options *options) const
    {
        HeifLibrary::get()->decoding_options_free(options);
    }
};
using HeifContext = std::unique_ptr<heif_context, HeifContextFree>;
using HeifHandle = std::unique_ptr<heif_image_handle, HeifHandleRelease>;
using HeifImage = std::unique_ptr<heif_image, HeifImageRelease>;
using HeifOptions = std::unique_ptr<heif_decoding_options, HeifOptionsFree>;

constexpr int allocationLimitMiB = int(ImageDecoder::maxDecodedBytes / (1024 * 1024));

bool fitsMemoryBound(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width * height * 4 <= ImageDecoder::maxDecodedBytes;
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

QImage read(QImageReader &reader, int edge, bool upscale)
{
    reader.setAutoTransform(true);
    reader.setAllocationLimit(allocationLimitMiB);
    // The stored size; the scaled size applies before the EXIF rotation, and a square edge
    // makes the fit the same either way.
    const QSize stored = reader.size();
    if (edge > 0 && stored.isValid())
        reader.setScaledSize(ImageDecoder::fittedSize(stored, targetEdge(stored, edge, upscale)));
    return reader.read();
}

bool startsWith(const QByteArray &data, qsizetype offset, QByteArrayView magic)
{
    return data.size() >= offset && QByteArrayView(data).sliced(offset).startsWith(magic);
}
} // namespace

QImage ImageDecoder::decode(const QByteArray &data)
{
    return isHeif(data) ? decodeHeif(data) : decodeWithQt(data, 0, Fit::exact);
}

QImage ImageDecoder::decodeFitted(const QByteArray &data, int edge)
{
    if (isHeif(data))
        return scaledToFit(decodeHeif(data), edge);
    return decodeWithQt(data, edge, Fit::exact);
}

QImage ImageDecoder::decodeShrunk(const QByteArray &data, int edge)
{
    if (isHeif(data))
        return scaledToFit(decodeHeif(data), edge, false);
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
    if (sniffFormat(data) != "heif")
        return false;
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.constData());
    const int length = int(qMin<qsizetype>(data.size(), 64));
    const HeifLibrary *heif = length >= 12 ? HeifLibrary::get() : nullptr;
    return heif && heif->check_filetype(bytes, length) == heif_filetype_yes_supported;
}

QByteArray ImageDecoder::sniffFormat(const QByteArray &data)
{
    if (startsWith(data, 0, "\xFF\xD8\xFF"))
        return "jpeg";
    if (startsWith(data, 0, "\x89PNG\r\n\x1A\n"))
        return "png";
    if (startsWith(data, 0, "GIF87a") || startsWith(data, 0, "GIF89a"))
        return "gif";
    if (startsWith(data, 0, "RIFF") && startsWith(data, 8, "WEBP"))
        return "webp";
    if (startsWith(data, 0, QByteArrayView("II*\0", 4)) || startsWith(data, 0, QByteArrayView("MM\0*", 4)))
        return "tiff";
    if (startsWith(data, 4, "ftyp"))
        return "heif";
    return {};
}

QImage ImageDecoder::decodeWithQt(const QByteArray &data, int edge, Fit fit)
{
    const bool upscale = fit == Fit::exact;
    QBuffer buffer;
    buffer.setData(data); // shares the bytes, no copy
    buffer.open(QIODevice::ReadOnly);
    QImage image;
    // Told the format, with guessing off, Qt loads only that format's plugin; left to guess, it
    // loads every installed one to ask it. Guessing is for what the first bytes do not name.
    if (const QByteArray format = sniffFormat(data); !format.isEmpty() && format != "heif") {
        QImageReader reader(&buffer, format);
        reader.setAutoDetectImageFormat(false);
        image = read(reader, edge, upscale);
        buffer.seek(0);
    }
    if (image.isNull()) {
        QImageReader reader(&buffer);
        image = read(reader, edge, upscale);
    }
    if (image.isNull())
        return {};
    return scaledToFit(image, edge, upscale);
}

QImage ImageDecoder::decodeHeif(const QByteArray &data)
{
    const HeifLibrary *heif = HeifLibrary::get();
    if (!heif)
        return {};
    HeifContext context(heif->context_alloc());
    if (!context)
        return {};
    if (heif->context_read_from_memory_without_copy(context.get(), data.constData(), size_t(data.size()),
                                                    nullptr)
            .code != heif_error_Ok)
        return {};
    heif_image_handle *rawHandle = nullptr;
    if (heif->context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return {};
    const HeifHandle handle(rawHandle);
    if (!fitsMemoryBound(heif->image_handle_get_width(handle.get()),
                         heif->image_handle_get_height(handle.get())))
        return {};

    const bool alpha = heif->image_handle_has_alpha_channel(handle.get());
    const HeifOptions options(heif->decoding_options_alloc());
    options->ignore_transformations = 0; // rotation and mirroring make the photo upright
    heif_image *rawImage = nullptr;
    if (heif->decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                           alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())
            .code != heif_error_Ok)
        return {};
    const HeifImage image(rawImage);

    int stride = 0;
    const uint8_t *pixels = heif->image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif->image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif->image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0)
        return {};
    const QImage view(pixels, width, height, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    // A deep copy in a format that paints fast; libheif's buffer goes with `image`.
    return view.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}
