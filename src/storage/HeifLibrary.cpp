#include "storage/HeifLibrary.h"

#include "core/Logging.h"

#include <cstdlib>
#include <dlfcn.h>

namespace {

template <typename Function> bool resolve(void *handle, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    return function != nullptr;
}

// Called through atexit(), registered after libheif's own static objects were made, so that it
// runs before they are destroyed; a static destructor of ours would run after them and crash.
decltype(&heif_deinit) deinitAtExit = nullptr;

void deinitialize()
{
    deinitAtExit();
}

} // namespace

const HeifLibrary *HeifLibrary::get()
{
    static HeifLibrary library;
    static const bool loaded = library.load();
    return loaded ? &library : nullptr;
}

bool HeifLibrary::load()
{
    m_handle = ::dlopen("libheif.so.1", RTLD_NOW | RTLD_LOCAL);
    decltype(&heif_init) init = nullptr;
    decltype(&heif_deinit) deinit = nullptr;
    const bool complete =
        m_handle && resolve(m_handle, "heif_init", init) && resolve(m_handle, "heif_deinit", deinit) &&
        resolve(m_handle, "heif_check_filetype", check_filetype) &&
        resolve(m_handle, "heif_context_alloc", context_alloc) &&
        resolve(m_handle, "heif_context_free", context_free) &&
        resolve(m_handle, "heif_context_read_from_memory_without_copy",
                context_read_from_memory_without_copy) &&
        resolve(m_handle, "heif_context_get_primary_image_handle", context_get_primary_image_handle) &&
        resolve(m_handle, "heif_image_handle_get_width", image_handle_get_width) &&
        resolve(m_handle, "heif_image_handle_get_height", image_handle_get_height) &&
        resolve(m_handle, "heif_image_handle_has_alpha_channel", image_handle_has_alpha_channel) &&
        resolve(m_handle, "heif_image_handle_release", image_handle_release) &&
        resolve(m_handle, "heif_decoding_options_alloc", decoding_options_alloc) &&
        resolve(m_handle, "heif_decoding_options_free", decoding_options_free) &&
        resolve(m_handle, "heif_decode_image", decode_image) &&
        resolve(m_handle, "heif_image_get_plane_readonly", image_get_plane_readonly) &&
        resolve(m_handle, "heif_image_get_width", image_get_width) &&
        resolve(m_handle, "heif_image_get_height", image_get_height) &&
        resolve(m_handle, "heif_image_release", image_release) &&
        resolve(m_handle, "heif_context_read_from_reader", context_read_from_reader) &&
        resolve(m_handle, "heif_image_handle_get_number_of_thumbnails",
                image_handle_get_number_of_thumbnails) &&
        resolve(m_handle, "heif_image_handle_get_list_of_thumbnail_IDs",
                image_handle_get_list_of_thumbnail_IDs) &&
        resolve(m_handle, "heif_image_handle_get_thumbnail", image_handle_get_thumbnail);
    if (!complete) {
        logError(QStringLiteral("HEIC pictures cannot be shown: libheif could not be loaded"),
                 QStringLiteral(__FILE__), QStringLiteral("load"));
        return false;
    }
    init(nullptr);
    deinitAtExit = deinit;
    std::atexit(deinitialize);
    // The library stays mapped: its decoders may have left threads or handlers behind.
    return true;
}

QImage HeifLibrary::decodeUpright(heif_image_handle *handle) const
{
    const auto freeOptions = [this](heif_decoding_options *options) { decoding_options_free(options); };
    const std::unique_ptr<heif_decoding_options, decltype(freeOptions)> options(decoding_options_alloc(),
                                                                                freeOptions);
    if (!options)
        return {};
    options->ignore_transformations = 0; // rotation and mirroring make the photo upright
    const bool alpha = image_handle_has_alpha_channel(handle);
    heif_image *rawImage = nullptr;
    if (decode_image(handle, &rawImage, heif_colorspace_RGB,
                     alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())
            .code != heif_error_Ok)
        return {};
    const auto release = [this](heif_image *image) { image_release(image); };
    const std::unique_ptr<heif_image, decltype(release)> image(rawImage, release);
    int stride = 0;
    const uint8_t *pixels = image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = image_get_width(image.get(), heif_channel_interleaved);
    const int height = image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0)
        return {};
    const QImage view(pixels, width, height, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    // A deep copy: libheif's buffer goes with `image`.
    return view.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}
