#include "gfx/raster.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define TOVELIN_RASTER_AVX2 1
#endif

namespace {

// A copy at least this large cannot stay in the cache: its writes go straight to memory, which
// spares reading each destination line in first. A full frame at 3840 x 2160 is 33 MB.
constexpr std::size_t kStreamingCopyBytes = std::size_t{16} << 20;

// A block whose every pixel lies inside both bitmaps.
struct ClippedBlock {
    int dstX = 0;
    int dstY = 0;
    int srcX = 0;
    int srcY = 0;
    int width = 0;
    int height = 0;
    [[nodiscard]] bool IsEmpty() const { return width <= 0 || height <= 0; }
};

// The offsets [first, last) along one axis at which both the source and the destination
// position lie inside their bitmaps. 64-bit, so that no rectangle can overflow.
struct Span {
    std::int64_t first = 0;
    std::int64_t last = 0;
};

Span ClipAxis(std::int64_t length, std::int64_t dstPos, std::int64_t dstLimit, std::int64_t srcPos,
              std::int64_t srcLimit)
{
    const std::int64_t first = std::max({std::int64_t{0}, -dstPos, -srcPos});
    const std::int64_t last = std::min({length, dstLimit - dstPos, srcLimit - srcPos});
    return Span{first, std::max(first, last)};
}

ClippedBlock Clip(const Bitmap& dst, Rect to, const Bitmap& src, Point from)
{
    const Span xs = ClipAxis(to.width, to.x, dst.Width(), from.x, src.Width());
    const Span ys = ClipAxis(to.height, to.y, dst.Height(), from.y, src.Height());
    return ClippedBlock{static_cast<int>(to.x + xs.first),   static_cast<int>(to.y + ys.first),
                        static_cast<int>(from.x + xs.first), static_cast<int>(from.y + ys.first),
                        static_cast<int>(xs.last - xs.first), static_cast<int>(ys.last - ys.first)};
}

// Calls rowFn(dstRow, srcRow) for every row of the block, in an order that reads each
// source row before it is overwritten when both bitmaps are one and the same.
template <typename RowFn>
void ForEachRow(Bitmap& dst, const Bitmap& src, const ClippedBlock& block, RowFn rowFn)
{
    const bool bottomUp = &dst == &src && block.dstY > block.srcY;
    for (int n = 0; n < block.height; ++n) {
        const int row = bottomUp ? block.height - 1 - n : n;
        rowFn(dst.Row(block.dstY + row) + block.dstX, src.Row(block.srcY + row) + block.srcX);
    }
}

// x / 255 rounded down without a division; exact for 0 <= x < 65535, which covers every blend
// sum (at most 255 * 255 + 127).
constexpr std::uint32_t DivideBy255(std::uint32_t x)
{
    return (x + 1 + (x >> 8)) >> 8;
}

std::uint32_t BlendChannel(std::uint32_t src, std::uint32_t dst, std::uint32_t alpha)
{
    return DivideBy255(src * alpha + dst * (255 - alpha) + 127);
}

Pixel BlendPixel(Pixel src, Pixel dst, std::uint32_t alpha)
{
    Pixel result = dst & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        result |= BlendChannel((src >> shift) & 0xFF, (dst >> shift) & 0xFF, alpha) << shift;
    }
    return result;
}

// Rows of two different bitmaps. Whole chunks are blended byte by byte with fixed weights per
// byte lane (the unused byte weighted 0 : 255, which keeps it exactly): a loop of known length
// without branches, which the compiler turns into vector code.
void BlendRowDistinct(Pixel* __restrict dst, const Pixel* __restrict src, int count, std::uint32_t alpha)
{
    constexpr int kChunkPixels = 8;
    constexpr int kChunkBytes = kChunkPixels * static_cast<int>(sizeof(Pixel));
    constexpr int kUnusedByte = std::endian::native == std::endian::little ? 3 : 0;
    std::uint16_t srcWeight[kChunkBytes];
    std::uint16_t dstWeight[kChunkBytes];
    for (int j = 0; j < kChunkBytes; ++j) {
        srcWeight[j] = static_cast<std::uint16_t>(j % 4 == kUnusedByte ? 0 : alpha);
        dstWeight[j] = static_cast<std::uint16_t>(255 - srcWeight[j]);
    }
    auto* __restrict out = reinterpret_cast<std::uint8_t*>(dst);
    const auto* __restrict in = reinterpret_cast<const std::uint8_t*>(src);
    const int chunks = count / kChunkPixels;
    for (int chunk = 0; chunk < chunks; ++chunk, out += kChunkBytes, in += kChunkBytes) {
        for (int j = 0; j < kChunkBytes; ++j) {
            // At most 255 * 255 + 127: the sum and the division stay within 16 bits.
            const auto sum = static_cast<std::uint16_t>(in[j] * srcWeight[j] + out[j] * dstWeight[j] + 127);
            out[j] = static_cast<std::uint8_t>((sum + 1 + (sum >> 8)) >> 8);
        }
    }
    for (int x = chunks * kChunkPixels; x < count; ++x) dst[x] = BlendPixel(src[x], dst[x], alpha);
}

// A block blended onto itself: each source pixel is read before any write can reach it.
void BlendRowWithin(Pixel* dst, const Pixel* src, int count, std::uint32_t alpha)
{
    if (dst > src) {
        for (int x = count - 1; x >= 0; --x) dst[x] = BlendPixel(src[x], dst[x], alpha);
    } else {
        for (int x = 0; x < count; ++x) dst[x] = BlendPixel(src[x], dst[x], alpha);
    }
}

// Fills map[n] with the source index of destination index first + n of a stretch, or -1
// where that source index lies outside [0, srcLimit).
void MapStretchAxis(std::vector<int>& map, int first, int count, std::int64_t dstPos, int dstLength,
                    std::int64_t srcPos, int srcLength, int srcLimit)
{
    map.resize(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n) {
        const int offset = static_cast<int>(first + n - dstPos);
        const std::int64_t source = srcPos + StretchSourceIndex(offset, srcLength, dstLength);
        map[static_cast<std::size_t>(n)] = source >= 0 && source < srcLimit ? static_cast<int>(source) : -1;
    }
}

void StretchBetween(Bitmap& dst, Rect to, const Bitmap& src, Rect from)
{
    const std::int64_t left = std::max<std::int64_t>(to.x, 0);
    const std::int64_t top = std::max<std::int64_t>(to.y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{to.x} + to.width, dst.Width());
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{to.y} + to.height, dst.Height());
    if (right <= left || bottom <= top) return;

    std::vector<int> columns;
    std::vector<int> rows;
    MapStretchAxis(columns, static_cast<int>(left), static_cast<int>(right - left), to.x, to.width, from.x,
                   from.width, src.Width());
    MapStretchAxis(rows, static_cast<int>(top), static_cast<int>(bottom - top), to.y, to.height, from.y,
                   from.height, src.Height());
    const bool allColumns = std::find(columns.begin(), columns.end(), -1) == columns.end();
    const std::size_t width = columns.size();

    int previousSource = -1;
    Pixel* previousRow = nullptr;
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const int source = rows[n];
        if (source < 0) continue;
        Pixel* out = dst.Row(static_cast<int>(top) + static_cast<int>(n)) + left;
        if (allColumns && source == previousSource) {
            // An enlarged row repeats: copy the one just built.
            std::memcpy(out, previousRow, width * sizeof(Pixel));
        } else {
            const Pixel* in = src.Row(source);
            for (std::size_t x = 0; x < width; ++x) {
                if (columns[x] >= 0) out[x] = in[columns[x]];
            }
        }
        previousSource = source;
        previousRow = out;
    }
}

// One row between two different bitmaps. A plain vector loop: the library's copy of a row
// whose source and destination are aligned differently runs several times slower here.
void CopyRowDistinct(Pixel* __restrict out, const Pixel* __restrict in, std::size_t count, bool stream)
{
#if defined(__SSE2__)
    std::size_t x = 0;
    if (stream) {
        for (; x < count && reinterpret_cast<std::uintptr_t>(out + x) % 16 != 0; ++x) out[x] = in[x];
        for (; x + 4 <= count; x += 4) {
            _mm_stream_si128(reinterpret_cast<__m128i*>(out + x), _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x)));
        }
    } else {
        for (; x + 4 <= count; x += 4) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x)));
        }
    }
    for (; x < count; ++x) out[x] = in[x];
#else
    (void)stream;
    std::memcpy(out, in, count * sizeof(Pixel));
#endif
}

// Makes streamed writes visible in order before anything else is written or read.
void EndStreaming()
{
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

#if TOVELIN_RASTER_AVX2
// Sixteen channels widened to 16 bits: (s * sw + d * dw + 127) / 255 rounded down, through the
// same division without a divide as BlendChannel.
__attribute__((target("avx2"))) inline __m256i BlendChannelsAvx2(__m256i s, __m256i d, __m256i sw, __m256i dw)
{
    const __m256i sum = _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(s, sw), _mm256_mullo_epi16(d, dw)),
                                         _mm256_set1_epi16(127));
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(1)), _mm256_srli_epi16(sum, 8)),
                             8);
}

// The blend of BlendRowDistinct, 32 bytes at a time: each byte widened to 16 bits, weighted,
// rounded exactly as there, and narrowed again.
__attribute__((target("avx2"))) void BlendRowDistinctAvx2(Pixel* __restrict dst, const Pixel* __restrict src,
                                                          int count, std::uint32_t alpha)
{
    const auto a = static_cast<short>(alpha);
    const auto b = static_cast<short>(255 - alpha);
    // Little-endian words: the unused byte is the fourth of each pixel, weighted 0 : 255.
    const __m256i srcWeight = _mm256_setr_epi16(a, a, a, 0, a, a, a, 0, a, a, a, 0, a, a, a, 0);
    const __m256i dstWeight = _mm256_setr_epi16(b, b, b, 255, b, b, b, 255, b, b, b, 255, b, b, b, 255);
    const __m256i zero = _mm256_setzero_si256();
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + x));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + x));
        const __m256i low = BlendChannelsAvx2(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), srcWeight,
                                              dstWeight);
        const __m256i high = BlendChannelsAvx2(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero),
                                               srcWeight, dstWeight);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x), _mm256_packus_epi16(low, high));
    }
    for (; x < count; ++x) dst[x] = BlendPixel(src[x], dst[x], alpha);
}

bool HasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif

} // namespace

void CopyBlock(Bitmap& dst, Rect to, const Bitmap& src, Point from)
{
    const ClippedBlock block = Clip(dst, to, src, from);
    if (block.IsEmpty()) return;
    const std::size_t width = static_cast<std::size_t>(block.width);
    if (&dst == &src) {
        const std::size_t bytes = width * sizeof(Pixel);
        ForEachRow(dst, src, block, [bytes](Pixel* out, const Pixel* in) { std::memmove(out, in, bytes); });
        return;
    }
    const bool stream = width * static_cast<std::size_t>(block.height) * sizeof(Pixel) >= kStreamingCopyBytes;
    ForEachRow(dst, src, block, [width, stream](Pixel* out, const Pixel* in) { CopyRowDistinct(out, in, width, stream); });
    if (stream) EndStreaming();
}

int StretchSourceIndex(int dst, int srcLength, int dstLength)
{
    if (dstLength <= 0) return 0;
    return static_cast<int>((2 * std::int64_t{dst} + 1) * srcLength / (2 * std::int64_t{dstLength}));
}

void StretchCopy(Bitmap& dst, Rect to, const Bitmap& src, Rect from)
{
    if (to.IsEmpty() || from.IsEmpty()) return;
    if (to.width == from.width && to.height == from.height) {
        CopyBlock(dst, to, src, Point{from.x, from.y});
        return;
    }
    if (&dst == &src) {
        // A stretch within one bitmap would read pixels it has already written.
        const Bitmap copy = src;
        StretchBetween(dst, to, copy, from);
        return;
    }
    StretchBetween(dst, to, src, from);
}

void BlendBlock(Bitmap& dst, Rect to, const Bitmap& src, Point from, std::uint8_t alpha)
{
    // Alpha 0 gives every channel (dst * 255 + 127) / 255, which is dst: nothing changes.
    if (alpha == 0) return;
    const ClippedBlock block = Clip(dst, to, src, from);
    if (block.IsEmpty()) return;
    const bool sameBitmap = &dst == &src;
#if TOVELIN_RASTER_AVX2
    const bool wide = std::endian::native == std::endian::little && HasAvx2();
#else
    const bool wide = false;
#endif
    ForEachRow(dst, src, block, [&block, alpha, sameBitmap, wide](Pixel* out, const Pixel* in) {
        if (sameBitmap) {
            BlendRowWithin(out, in, block.width, alpha);
        } else if (wide) {
#if TOVELIN_RASTER_AVX2
            BlendRowDistinctAvx2(out, in, block.width, alpha);
#endif
        } else {
            BlendRowDistinct(out, in, block.width, alpha);
        }
    });
}

void FillRect(Bitmap& dst, Rect area, Pixel color)
{
    const ClippedBlock block = Clip(dst, area, dst, Point{area.x, area.y});
    for (int y = 0; y < block.height; ++y) {
        std::fill_n(dst.Row(block.dstY + y) + block.dstX, block.width, color);
    }
}
