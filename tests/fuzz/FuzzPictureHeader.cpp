#include "FuzzSupport.h"
#include "storage/DecodeBudget.h"
#include "storage/PictureHeader.h"

#include <cstdint>

// What a picture file declares is read before its decoder starts, from bytes anyone may have
// written: no input may read outside it, and a size the budget accepts is one it can pay for.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const PictureHeader header = PictureHeader::read(bytes);
    FUZZ_REQUIRE(header.format == PictureHeader::sniff(bytes));
    FUZZ_REQUIRE(!header.size.isValid() || (header.size.width() > 0 && header.size.height() > 0));
    FUZZ_REQUIRE(header.wholePictureBytes >= 0);
    FUZZ_REQUIRE(header.bytesPerPixel == 4 || header.bytesPerPixel == 8);
    if (header.format == PictureHeader::Format::unknown)
        FUZZ_REQUIRE(!header.size.isValid() && PictureHeader::formatName(header.format).isEmpty());
    for (const QSize target : {QSize(), QSize(280, 210), QSize(2800, 2800)}) {
        const std::optional<qint64> cost = DecodeBudget::cost(header, target, qint64(size));
        if (!cost)
            continue;
        FUZZ_REQUIRE(header.size.isValid() && header.pixels() <= DecodeBudget::maxPixels);
        FUZZ_REQUIRE(*cost >= qint64(size) && *cost <= DecodeBudget::maxPictureBytes);
        FUZZ_REQUIRE(*cost >= header.wholePictureBytes);
    }
    return 0;
}
