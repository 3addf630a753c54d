#pragma once

#include <QImage>
#include <libheif/heif.h>
#include <memory>

// libheif, loaded on the first picture that asks for it: with the codecs it brings it is the
// largest library the application uses, and the window's first frame must not wait for it.
class HeifLibrary
{
public:
    // The loaded library, or none when it cannot be loaded (logged once): then no HEIC shows.
    static const HeifLibrary *get();

    decltype(&heif_check_filetype) check_filetype = nullptr;
    decltype(&heif_context_alloc) context_alloc = nullptr;
    decltype(&heif_context_free) context_free = nullptr;
    decltype(&heif_context_read_from_memory_without_copy) context_read_from_memory_without_copy = nullptr;
    decltype(&heif_context_get_primary_image_handle) context_get_primary_image_handle = nullptr;
    decltype(&heif_image_handle_get_width) image_handle_get_width = nullptr;
    decltype(&heif_image_handle_get_height) image_handle_get_height = nullptr;
    decltype(&heif_image_handle_has_alpha_channel) image_handle_has_alpha_channel = nullptr;
    decltype(&heif_image_handle_release) image_handle_release = nullptr;
    decltype(&heif_decoding_options_alloc) decoding_options_alloc = nullptr;
    decltype(&heif_decoding_options_free) decoding_options_free = nullptr;
    decltype(&heif_decode_image) decode_image = nullptr;
    decltype(&heif_image_get_plane_readonly) image_get_plane_readonly = nullptr;
    decltype(&heif_image_get_width) image_get_width = nullptr;
    decltype(&heif_image_get_height) image_get_height = nullptr;
    decltype(&heif_image_release) image_release = nullptr;
    decltype(&heif_context_read_from_reader) context_read_from_reader = nullptr;
    decltype(&heif_image_handle_get_number_of_thumbnails) image_handle_get_number_of_thumbnails = nullptr;
    decltype(&heif_image_handle_get_list_of_thumbnail_IDs) image_handle_get_list_of_thumbnail_IDs = nullptr;
    decltype(&heif_image_handle_get_thumbnail) image_handle_get_thumbnail = nullptr;

    // The image of handle, rotated and mirrored upright, as a deep copy in a format that paints
    // fast; null when it does not decode.
    QImage decodeUpright(heif_image_handle *handle) const;

    struct ContextFree
    {
        void operator()(heif_context *context) const { get()->context_free(context); }
    };
    struct HandleRelease
    {
        void operator()(heif_image_handle *handle) const { get()->image_handle_release(handle); }
    };
    using Context = std::unique_ptr<heif_context, ContextFree>;
    using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;

private:
    HeifLibrary() = default;
    bool load();

    void *m_handle = nullptr;
};
