#include "slideshow/fade_out.h"

#include <bit>
#include <cstdint>
#include <exception>

#include "gfx/raster.h"

namespace {

constexpr int kFadePasses = 26;

std::uint8_t DarkenByte(std::uint8_t value)
{
    return value < 10 ? std::uint8_t{5} : static_cast<std::uint8_t>(value - 10);
}

// Whole chunks go byte by byte, with a fixed mask per byte lane that keeps the unused byte: a
// loop of known length without branches, which the compiler turns into vector code.
void DarkenRow(Pixel* row, int count)
{
    constexpr int kChunkPixels = 8;
    constexpr int kChunkBytes = kChunkPixels * static_cast<int>(sizeof(Pixel));
    constexpr int kUnusedByte = std::endian::native == std::endian::little ? 3 : 0;
    std::uint8_t colour[kChunkBytes];
    for (int j = 0; j < kChunkBytes; ++j) colour[j] = j % 4 == kUnusedByte ? 0x00 : 0xFF;

    auto* bytes = reinterpret_cast<std::uint8_t*>(row);
    const int chunks = count / kChunkPixels;
    for (int chunk = 0; chunk < chunks; ++chunk, bytes += kChunkBytes) {
        for (int j = 0; j < kChunkBytes; ++j) {
            const std::uint8_t value = bytes[j];
            bytes[j] = static_cast<std::uint8_t>((DarkenByte(value) & colour[j]) | (value & ~colour[j]));
        }
    }
    for (int x = chunks * kChunkPixels; x < count; ++x) {
        Pixel pixel = row[x] & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            pixel |= Pixel{DarkenByte(static_cast<std::uint8_t>(row[x] >> shift))} << shift;
        }
        row[x] = pixel;
    }
}

} // namespace

void DarkenColourBytes(Bitmap& bitmap)
{
    for (int y = 0; y < bitmap.Height(); ++y) DarkenRow(bitmap.Row(y), bitmap.Width());
}

void FadeOutPhoto(EffectHost& host, Bitmap& photo, Bitmap& backBuffer)
{
    if (photo.Width() == 0) return;
    try {
        for (int pass = 0; pass < kFadePasses; ++pass) {
            if (!host.WaitStep()) return;
            DarkenColourBytes(photo);
            CopyBlock(backBuffer, photo.Bounds(), photo, Point{0, 0});
            host.PresentFrame();
        }
    } catch (const std::exception&) {
        // A failed fade only ends early; the slide goes on.
    }
}
