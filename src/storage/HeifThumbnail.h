#pragma once

#include <QImage>

class DecryptingReader;

// The thumbnail a HEIC file carries beside its photo (a phone writes one of about 320 × 240),
// decoded instead of the photo, which takes a hundred times as long. libheif reads the stored
// file through a DecryptingReader, asking for the bytes it needs (Debian 12's libheif still reads
// the whole media data box). The largest thumbnail up to maxPixels, upright; null when the file is
// not HEIF, has none, or it does not decode.
class HeifThumbnail
{
public:
    HeifThumbnail() = delete;

    // Larger "thumbnails" are not decoded: a file may call its photo one.
    static constexpr qint64 maxPixels = 1024 * 1024;

    static QImage read(DecryptingReader &file);
};
