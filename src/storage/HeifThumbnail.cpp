#include "storage/HeifThumbnail.h"

#include "storage/DecryptingReader.h"
#include "storage/HeifLibrary.h"
#include "storage/PictureHeader.h"

#include <QVarLengthArray>
#include <cstring>
#include <optional>

namespace {

// libheif's view of the stored file: a position over its plain bytes.
struct Stream
{
    DecryptingReader &file;
    qint64 size = 0;
    qint64 position = 0;
};

int64_t positionOf(void *userdata)
{
    return static_cast<Stream *>(userdata)->position;
}

int readInto(void *data, size_t size, void *userdata)
{
    auto *stream = static_cast<Stream *>(userdata);
    std::optional<QByteArray> bytes = stream->file.read(stream->position, qint64(size));
    if (!bytes)
        return 1;
    std::memcpy(data, bytes->constData(), size);
    stream->position += qint64(size);
    return 0;
}

int seekTo(int64_t position, void *userdata)
{
    auto *stream = static_cast<Stream *>(userdata);
    if (position < 0 || position > stream->size)
        return 1;
    stream->position = position;
    return 0;
}

heif_reader_grow_status growTo(int64_t target, void *userdata)
{
    return target <= static_cast<Stream *>(userdata)->size ? heif_reader_grow_status_size_reached
                                                           : heif_reader_grow_status_size_beyond_eof;
}

const heif_reader streamReader = {1, positionOf, readInto, seekTo, growTo};

// The largest thumbnail of primary within maxPixels.
HeifLibrary::Handle largestThumbnail(const HeifLibrary &heif, heif_image_handle *primary)
{
    const int count = heif.image_handle_get_number_of_thumbnails(primary);
    if (count <= 0 || count > 64)
        return {};
    QVarLengthArray<heif_item_id, 8> ids(count);
    const int listed = heif.image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
    HeifLibrary::Handle best;
    qint64 bestPixels = 0;
    for (int i = 0; i < listed && i < count; ++i) {
        heif_image_handle *raw = nullptr;
        if (heif.image_handle_get_thumbnail(primary, ids[i], &raw).code != heif_error_Ok || !raw)
            continue;
        HeifLibrary::Handle thumbnail(raw);
        const qint64 pixels =
            qint64(heif.image_handle_get_width(raw)) * qint64(heif.image_handle_get_height(raw));
        if (pixels > bestPixels && pixels <= HeifThumbnail::maxPixels) {
            bestPixels = pixels;
            best = std::move(thumbnail);
        }
    }
    return best;
}

} // namespace

QImage HeifThumbnail::read(DecryptingReader &file)
{
    const std::optional<qint64> size = file.plainSize();
    if (!size)
        return {};
    const std::optional<QByteArray> head = file.read(0, qMin<qint64>(*size, 64));
    if (!head || PictureHeader::sniff(*head) != PictureHeader::Format::heif)
        return {};
    const HeifLibrary *heif = HeifLibrary::get();
    if (!heif)
        return {};
    HeifLibrary::Context context(heif->context_alloc());
    Stream stream{file, *size};
    if (!context ||
        heif->context_read_from_reader(context.get(), &streamReader, &stream, nullptr).code != heif_error_Ok)
        return {};
    heif_image_handle *rawPrimary = nullptr;
    if (heif->context_get_primary_image_handle(context.get(), &rawPrimary).code != heif_error_Ok)
        return {};
    const HeifLibrary::Handle primary(rawPrimary);
    const HeifLibrary::Handle thumbnail = largestThumbnail(*heif, primary.get());
    return thumbnail ? heif->decodeUpright(thumbnail.get()) : QImage();
}
