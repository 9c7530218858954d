// The Exif Orientation parser on any bytes: it must answer 1 to 8 and never read outside them.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gfx/image/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int tag = ExifOrientationTag(std::span(data, size));
    if (tag < 1 || tag > 8) std::abort();
    return 0;
}
