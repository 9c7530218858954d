#include "gfx/image/bmp_reader.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gfx/image/bmp_header.h"
#include "gfx/image/bmp_rle.h"
#include "gfx/image/fitted_canvas.h"

namespace {

// Reads a row in aligned pieces of at most 64 KB, so that a very wide row never needs a
// buffer of its full size.
class RowWindow {
public:
    RowWindow(ImageSource& source, std::uint64_t rowBytes, std::uint64_t pixelBytes)
        : m_Source(source), m_RowBytes(rowBytes),
          m_Chunk(std::min<std::uint64_t>(rowBytes, kMaxChunk / pixelBytes * pixelBytes)),
          m_Buffer(static_cast<std::size_t>(m_Chunk))
    {
    }

    void StartRow(std::uint64_t offset)
    {
        m_RowOffset = offset;
        m_Begin = m_End = 0;
    }

    // The byte at `index` in the row, with the rest of its pixel after it.
    const std::uint8_t* At(std::uint64_t index)
    {
        if (index < m_Begin || index >= m_End) {
            m_Begin = index / m_Chunk * m_Chunk;
            m_End = std::min(m_Begin + m_Chunk, m_RowBytes);
            m_Source.ReadExactly(m_RowOffset + m_Begin,
                                 std::span(m_Buffer.data(), static_cast<std::size_t>(m_End - m_Begin)));
        }
        return m_Buffer.data() + (index - m_Begin);
    }

private:
    static constexpr std::uint64_t kMaxChunk = 64 * 1024;

    ImageSource& m_Source;
    std::uint64_t m_RowBytes;
    std::uint64_t m_Chunk;
    std::vector<std::uint8_t> m_Buffer;
    std::uint64_t m_RowOffset = 0;
    std::uint64_t m_Begin = 0;
    std::uint64_t m_End = 0;
};

template <int BitCount>
Pixel DecodePixel(const BmpHeader& header, const std::uint8_t* p, int x)
{
    if constexpr (BitCount == 1) {
        return header.palette[(*p >> (7 - (x & 7))) & 1];
    } else if constexpr (BitCount == 4) {
        return header.palette[(x & 1) != 0 ? (*p & 0x0F) : (*p >> 4)];
    } else if constexpr (BitCount == 8) {
        return header.palette[*p];
    } else if constexpr (BitCount == 24) {
        return MakePixel(p[2], p[1], p[0]);
    } else {
        std::uint32_t value = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8);
        if constexpr (BitCount == 32) value |= (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
        return MakePixel(header.red.Extract(value), header.green.Extract(value), header.blue.Extract(value));
    }
}

template <int BitCount>
void DecodeUncompressed(ImageSource& source, const BmpHeader& header, FittedCanvas& canvas)
{
    constexpr std::uint64_t pixelBytes = BitCount >= 8 ? BitCount / 8 : 1;
    const std::uint64_t rowBytes = (std::uint64_t{static_cast<unsigned>(header.width)} * BitCount + 7) / 8;
    RowWindow window(source, rowBytes, pixelBytes);
    for (int y = canvas.NextWantedRow(0); y < header.height; y = canvas.NextWantedRow(y + 1)) {
        const int fileRow = header.topDown ? y : header.height - 1 - y;
        window.StartRow(header.dataOffset + header.rowStride * static_cast<std::uint64_t>(fileRow));
        canvas.PutRow(y, [&](int x) {
            const std::uint64_t index = static_cast<std::uint64_t>(x) * BitCount / 8;
            return DecodePixel<BitCount>(header, window.At(index), x);
        });
    }
}

} // namespace

Bitmap LoadFittedBmp(ImageSource& source, const FitFunction& fit, const std::stop_token& stop)
{
    const BmpHeader header = ReadBmpHeader(source);
    FittedCanvas canvas(Size{header.width, header.height}, FittedSizeOf(Size{header.width, header.height}, fit), {},
                        stop);
    if (canvas.IsEmpty()) return canvas.Take();

    if (header.encoding != BmpEncoding::Uncompressed) {
        DecodeBmpRle(source, header, canvas);
        return canvas.Take();
    }
    switch (header.bitCount) {
    case 1: DecodeUncompressed<1>(source, header, canvas); break;
    case 4: DecodeUncompressed<4>(source, header, canvas); break;
    case 8: DecodeUncompressed<8>(source, header, canvas); break;
    case 16: DecodeUncompressed<16>(source, header, canvas); break;
    case 24: DecodeUncompressed<24>(source, header, canvas); break;
    default: DecodeUncompressed<32>(source, header, canvas); break;
    }
    return canvas.Take();
}
