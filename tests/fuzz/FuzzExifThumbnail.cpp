#include "FuzzSupport.h"
#include "storage/ExifThumbnail.h"

#include <cstdint>

// The EXIF data of a stored photo is read before anything else of it, from bytes anyone may have
// written: no input may read outside it, and a preview found lies inside it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ExifThumbnail found = ExifThumbnail::find(bytes);
    FUZZ_REQUIRE(found.orientation >= 1 && found.orientation <= 8);
    switch (found.status) {
    case ExifThumbnail::Status::found:
        FUZZ_REQUIRE(found.jpeg.size() >= 4 && found.jpeg.size() <= bytes.size());
        FUZZ_REQUIRE(bytes.indexOf(found.jpeg) >= 0);
        break;
    case ExifThumbnail::Status::needMore:
        FUZZ_REQUIRE(found.neededBytes > bytes.size() && found.neededBytes <= ExifThumbnail::maxSearchBytes);
        FUZZ_REQUIRE(found.jpeg.isEmpty());
        break;
    case ExifThumbnail::Status::none:
        FUZZ_REQUIRE(found.jpeg.isEmpty());
        break;
    }
    return 0;
}
