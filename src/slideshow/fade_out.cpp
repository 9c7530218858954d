#include "slideshow/fade_out.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <exception>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kFadePasses = 26;

// A back buffer at least this large cannot stay in the cache: its rows are written straight to
// memory, which spares reading each of its lines in first.
constexpr std::size_t kStreamingCopyBytes = std::size_t{16} << 20;

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

// Darkens the first `count` pixels of `row` in place and writes the same pixels to `copy`, in
// one walk over the row, while it is in the cache.
void DarkenRowOnto(Pixel* __restrict row, Pixel* __restrict copy, int count, bool stream)
{
#if defined(__SSE2__)
    const __m128i nine = _mm_set1_epi8(9);
    const __m128i ten = _mm_set1_epi8(10);
    const __m128i five = _mm_set1_epi8(5);
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    const auto darken = [&](__m128i value) {
        const __m128i below10 = _mm_cmpeq_epi8(_mm_min_epu8(value, nine), value);
        const __m128i dark = _mm_or_si128(_mm_and_si128(below10, five), _mm_andnot_si128(below10, _mm_subs_epu8(value, ten)));
        return _mm_or_si128(_mm_and_si128(colour, dark), _mm_andnot_si128(colour, value));
    };
    int x = 0;
    if (stream) {
        for (; x < count && reinterpret_cast<std::uintptr_t>(copy + x) % 16 != 0; ++x) {
            DarkenRow(row + x, 1);
            copy[x] = row[x];
        }
    }
    for (; x + 4 <= count; x += 4) {
        const __m128i value = darken(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), value);
        if (stream) {
            _mm_stream_si128(reinterpret_cast<__m128i*>(copy + x), value);
        } else {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(copy + x), value);
        }
    }
    DarkenRow(row + x, count - x);
    std::memcpy(copy + x, row + x, static_cast<std::size_t>(count - x) * sizeof(Pixel));
#else
    (void)stream;
    DarkenRow(row, count);
    std::memcpy(copy, row, static_cast<std::size_t>(count) * sizeof(Pixel));
#endif
}

// One pass of the fade: the photo darkened in place and copied onto the back buffer at (0, 0),
// clipped to it, row by row.
void DarkenAndCopy(Bitmap& photo, Bitmap& backBuffer)
{
    if (&photo == &backBuffer) {
        DarkenColourBytes(photo);
        return;
    }
    const int width = std::min(photo.Width(), backBuffer.Width());
    const int height = std::min(photo.Height(), backBuffer.Height());
    const bool stream = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * sizeof(Pixel) >=
                        kStreamingCopyBytes;
    for (int y = 0; y < photo.Height(); ++y) {
        Pixel* row = photo.Row(y);
        if (y < height) {
            DarkenRowOnto(row, backBuffer.Row(y), width, stream);
            DarkenRow(row + width, photo.Width() - width);
        } else {
            DarkenRow(row, photo.Width());
        }
    }
#if defined(__SSE2__)
    if (stream) _mm_sfence();
#endif
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
        host.AnimationStarts();
        for (int pass = 0; pass < kFadePasses; ++pass) {
            if (!host.WaitStep()) return;
            DarkenAndCopy(photo, backBuffer);
            host.PresentStep(pass == kFadePasses - 1);
        }
    } catch (const std::exception&) {
        // A failed fade only ends early; the slide goes on.
    }
}
