#pragma once
// The headers of a BMP file, read and checked against the file's real size before any pixel is
// read or any picture allocated.
#include <array>
#include <cstdint>

#include "gfx/bitmap.h"
#include "gfx/image/image_source.h"

enum class BmpEncoding { Uncompressed, Rle8, Rle4 };

// One colour channel of a 16- or 32-bit pixel. A level of fewer than 8 bits is widened by
// repeating its bits (5-bit 10110 becomes 10110101), so that 0 and the top level map to 0
// and 255; a wider one keeps its top 8 bits.
struct BmpChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static BmpChannel FromMask(std::uint32_t mask);
    std::uint8_t Extract(std::uint32_t value) const
    {
        if (bits == 0) return 0;
        const std::uint32_t level = (value & mask) >> shift;
        if (bits >= 8) return static_cast<std::uint8_t>(level >> (bits - 8));
        std::uint32_t wide = 0;
        int filled = 0;
        for (; filled < 8; filled += bits) wide = (wide << bits) | level;
        return static_cast<std::uint8_t>(wide >> (filled - 8));
    }
};

struct BmpHeader {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    BmpEncoding encoding = BmpEncoding::Uncompressed;
    std::uint64_t dataOffset = 0;
    std::uint64_t rowStride = 0; // bytes from one row to the next in uncompressed data
    // Indices past the file's own palette show black.
    std::array<Pixel, 256> palette{};
    BmpChannel red;
    BmpChannel green;
    BmpChannel blue;
};

// Throws Error for anything that is not a readable BMP file: unknown header, unsupported
// format, a size out of range, pixel data or palette outside the file.
BmpHeader ReadBmpHeader(ImageSource& source);
