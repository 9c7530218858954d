#pragma once
// The body of both fuzz targets: load the input at a fitted size that depends on the image's
// own size (so a run is repeatable), accept Error, and check that the picture has that size.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gfx/error.h"
#include "gfx/image/image_file.h"

namespace fuzz {

// Larger pictures only make each run slower; their headers are still read and checked.
constexpr std::int64_t kMaxFuzzedPixels = std::int64_t{1} << 20;

inline Size FitForFuzzing(Size image)
{
    if (std::int64_t{image.width} * image.height > kMaxFuzzedPixels) throw Error("too large to fuzz quickly");
    switch ((image.width + image.height) % 4) {
    case 0: return image;
    case 1: return Size{std::min(image.width, 97), std::min(image.height, 61)};
    case 2: return Size{std::min(image.width * 2, 301), image.height + 1}; // enlarging
    default: return Size{(image.width + 2) / 3, image.height / 2};         // may be empty
    }
}

inline int LoadForFuzzing(const std::uint8_t* data, std::size_t size, ImageFormat format)
{
    Size fitted{-1, -1};
    try {
        const Bitmap bitmap = LoadFittedImage(std::span(data, size), format, [&fitted](Size image) {
            fitted = FitForFuzzing(image);
            return fitted;
        });
        if (bitmap.GetSize() != fitted) std::abort();
    } catch (const Error&) {
    }
    return 0;
}

} // namespace fuzz
