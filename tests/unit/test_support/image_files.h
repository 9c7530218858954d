#pragma once
// Helpers for the image reader tests: the committed test files, a reader of the binary PPM/PGM
// references, a writer of BMP files of every header kind, and the full-decode-then-stretch oracle.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gfx/bitmap.h"
#include "gfx/image/image_file.h"
#include "gfx/raster.h"

using Bytes = std::vector<std::uint8_t>;

inline std::string TestImagePath(const std::string& name)
{
    return std::string(TOVELIN_TEST_DATA_DIR) + "/images/" + name;
}

inline Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A binary PPM (P6) or PGM (P5) with maxval 255, as djpeg and ImageMagick write them.
inline Bitmap ReadPnm(const std::string& path)
{
    const Bytes bytes = ReadFileBytes(path);
    std::string head(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 64));
    std::istringstream in(head);
    std::string magic;
    int width = 0;
    int height = 0;
    int maxval = 0;
    in >> magic >> width >> height >> maxval;
    const auto start = static_cast<std::size_t>(in.tellg()) + 1;
    const int channels = magic == "P6" ? 3 : 1;
    if ((magic != "P6" && magic != "P5") || maxval != 255 ||
        bytes.size() < start + static_cast<std::size_t>(width) * height * channels) {
        ADD_FAILURE() << "unreadable reference " << path;
        return Bitmap{};
    }
    Bitmap bitmap(width, height);
    const std::uint8_t* p = bytes.data() + start;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, p += channels) {
            bitmap.At(x, y) = channels == 3 ? MakePixel(p[0], p[1], p[2]) : MakePixel(p[0], p[0], p[0]);
        }
    }
    return bitmap;
}

inline FitFunction FitTo(Size size)
{
    return [size](Size) { return size; };
}

inline const FitFunction kFullSize = [](Size imageSize) { return imageSize; };

// What the program did before loading straight into the fitted size: decode everything, then
// stretch with the raster code.
inline Bitmap DecodeThenStretch(const Bytes& bytes, ImageFormat format, Size fitted)
{
    const Bitmap full = LoadFittedImage(bytes, format, kFullSize);
    Bitmap stretched(fitted.width, fitted.height, kBlack);
    StretchCopy(stretched, stretched.Bounds(), full, full.Bounds());
    return stretched;
}

// The fitted sizes worth trying on an image: shrinking in one or both directions, by large and
// small factors, down to one pixel, and enlarging.
inline std::vector<Size> FitSizesFor(Size image)
{
    return {{1, 1},
            {image.width, 1},
            {1, image.height},
            {(image.width + 1) / 2, (image.height + 2) / 3},
            {image.width - 1, image.height - 1},
            {7, 5},
            {image.width / 9 + 1, image.height / 17 + 1},
            {image.width, image.height},
            {image.width * 2 + 1, image.height + 3}};
}

inline ::testing::AssertionResult SamePixels(const Bitmap& actual, const Bitmap& expected)
{
    if (actual.GetSize() != expected.GetSize()) {
        return ::testing::AssertionFailure() << "size " << actual.Width() << "x" << actual.Height() << ", expected "
                                             << expected.Width() << "x" << expected.Height();
    }
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            if (actual.At(x, y) != expected.At(x, y)) {
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << actual.At(x, y) << ", expected " << expected.At(x, y);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// ---- BMP files built in the test ----

inline void PutU16(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutU32(Bytes& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

struct BmpLayout {
    int headerSize = 40; // 12, 40, 52, 56, 64, 108 or 124
    int width = 0;
    int height = 0; // negative: top-down
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks; // after a 40-byte header, inside the larger ones
    std::vector<Pixel> palette;
    Bytes pixels; // encoded pixel data
};

inline Bytes WriteBmp(const BmpLayout& layout)
{
    const bool core = layout.headerSize == 12;
    const std::size_t entrySize = core ? 3 : 4;
    const bool masksAfter = layout.headerSize == 40 && !layout.masks.empty();
    const std::size_t dataOffset =
        14 + layout.headerSize + (masksAfter ? layout.masks.size() * 4 : 0) + layout.palette.size() * entrySize;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(dataOffset + layout.pixels.size()));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(dataOffset));
    PutU32(out, static_cast<std::uint32_t>(layout.headerSize));
    if (core) {
        PutU16(out, static_cast<std::uint32_t>(layout.width));
        PutU16(out, static_cast<std::uint32_t>(layout.height));
        PutU16(out, 1);
        PutU16(out, static_cast<std::uint32_t>(layout.bitCount));
    } else {
        PutU32(out, static_cast<std::uint32_t>(layout.width));
        PutU32(out, static_cast<std::uint32_t>(layout.height));
        PutU16(out, 1);
        PutU16(out, static_cast<std::uint32_t>(layout.bitCount));
        PutU32(out, layout.compression);
        PutU32(out, static_cast<std::uint32_t>(layout.pixels.size()));
        PutU32(out, 2835);
        PutU32(out, 2835);
        PutU32(out, layout.colorsUsed);
        PutU32(out, 0);
        std::size_t written = 40;
        if (layout.headerSize >= 52 && layout.headerSize != 64) {
            for (std::size_t i = 0; i < 4 && written + 4 <= static_cast<std::size_t>(layout.headerSize); ++i) {
                PutU32(out, i < layout.masks.size() ? layout.masks[i] : 0);
                written += 4;
            }
        }
        out.resize(14 + static_cast<std::size_t>(layout.headerSize), 0);
        if (masksAfter) {
            for (std::uint32_t mask : layout.masks) PutU32(out, mask);
        }
    }
    for (Pixel colour : layout.palette) {
        out.push_back(static_cast<std::uint8_t>(colour));
        out.push_back(static_cast<std::uint8_t>(colour >> 8));
        out.push_back(static_cast<std::uint8_t>(colour >> 16));
        if (!core) out.push_back(0);
    }
    out.insert(out.end(), layout.pixels.begin(), layout.pixels.end());
    return out;
}

// Packs rows of pixel values (palette indices or whole pixels, bitCount bits each, little-endian
// for 16 and 32 bits, blue-green-red for 24) into padded BMP rows, in the order given.
inline Bytes PackRows(int bitCount, const std::vector<std::vector<std::uint32_t>>& rows)
{
    Bytes out;
    for (const auto& row : rows) {
        Bytes packed;
        std::uint32_t bits = 0;
        int used = 0;
        for (std::uint32_t value : row) {
            if (bitCount < 8) {
                bits = (bits << bitCount) | value;
                used += bitCount;
                if (used == 8) {
                    packed.push_back(static_cast<std::uint8_t>(bits));
                    bits = 0;
                    used = 0;
                }
            } else {
                for (int i = 0; i < bitCount / 8; ++i) packed.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
            }
        }
        if (used > 0) packed.push_back(static_cast<std::uint8_t>(bits << (8 - used)));
        while (packed.size() % 4 != 0) packed.push_back(0);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}
