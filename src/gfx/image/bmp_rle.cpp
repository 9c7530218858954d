#include "gfx/image/bmp_rle.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Sequential reading of the compressed data in 64 KB pieces.
class ByteStream {
public:
    ByteStream(ImageSource& source, std::uint64_t begin) : m_Source(source), m_Position(begin), m_Buffer(64 * 1024) {}

    // False at the end of the data.
    bool Next(std::uint8_t& byte)
    {
        if (m_Index == m_Count) {
            m_Count = m_Source.ReadAt(m_Position, m_Buffer);
            m_Position += m_Count;
            m_Index = 0;
            if (m_Count == 0) return false;
        }
        byte = m_Buffer[m_Index++];
        return true;
    }

private:
    ImageSource& m_Source;
    std::uint64_t m_Position;
    std::vector<std::uint8_t> m_Buffer;
    std::size_t m_Index = 0;
    std::size_t m_Count = 0;
};

// The row being decoded, reduced to the fitted columns as it is written.
class RleRow {
public:
    RleRow(const BmpHeader& header, FittedCanvas& canvas)
        : m_Header(header), m_Canvas(canvas), m_Columns(canvas.SourceColumns()),
          m_Pixels(static_cast<std::size_t>(canvas.FittedWidth()), kBlack)
    {
        Enter(0);
    }

    bool PastEnd() const { return m_FileRow >= m_Header.height; }
    int X() const { return m_X; }

    void MoveRight(int count) { m_X = std::min(m_X + count, m_Header.width); }

    // Sets count pixels from X on, alternating first and second, and moves X past them.
    void Run(int count, Pixel first, Pixel second)
    {
        const int begin = m_X;
        MoveRight(count);
        if (!m_Wanted) return;
        while (m_Next < m_Columns.size() && m_Columns[m_Next] < begin) ++m_Next;
        for (; m_Next < m_Columns.size() && m_Columns[m_Next] < m_X; ++m_Next) {
            m_Pixels[m_Next] = ((m_Columns[m_Next] - begin) & 1) == 0 ? first : second;
            m_Dirty = true;
        }
    }

    // Ends this row and continues count rows further on, at the same X.
    void MoveDown(int count)
    {
        if (m_Dirty) {
            m_Canvas.PutFittedRow(ImageRow(), m_Pixels.data());
            std::fill(m_Pixels.begin(), m_Pixels.end(), kBlack);
            m_Dirty = false;
        }
        Enter(m_FileRow + count);
    }

    void NextLine()
    {
        MoveDown(1);
        m_X = 0;
    }

private:
    int ImageRow() const { return m_Header.topDown ? m_FileRow : m_Header.height - 1 - m_FileRow; }

    void Enter(int fileRow)
    {
        m_FileRow = std::min(fileRow, m_Header.height);
        m_Wanted = !PastEnd() && m_Canvas.WantsRow(ImageRow());
        m_Next = 0;
    }

    const BmpHeader& m_Header;
    FittedCanvas& m_Canvas;
    const std::vector<int>& m_Columns;
    std::vector<Pixel> m_Pixels;
    int m_FileRow = 0;
    int m_X = 0;
    bool m_Wanted = false;
    bool m_Dirty = false;
    std::size_t m_Next = 0; // first fitted column not yet passed in this row
};

} // namespace

void DecodeBmpRle(ImageSource& source, const BmpHeader& header, FittedCanvas& canvas)
{
    const bool rle4 = header.encoding == BmpEncoding::Rle4;
    const auto& palette = header.palette;
    ByteStream data(source, header.dataOffset);
    RleRow row(header, canvas);
    std::uint8_t count = 0;
    std::uint8_t value = 0;
    while (!row.PastEnd() && data.Next(count) && data.Next(value)) {
        if (count > 0) {
            // A run: one index, or two alternating ones in RLE4.
            if (rle4) {
                row.Run(count, palette[value >> 4], palette[value & 0x0F]);
            } else {
                row.Run(count, palette[value], palette[value]);
            }
            continue;
        }
        if (value == 0) {
            row.NextLine();
        } else if (value == 1) {
            break; // end of bitmap
        } else if (value == 2) {
            std::uint8_t dx = 0;
            std::uint8_t dy = 0;
            if (!data.Next(dx) || !data.Next(dy)) break;
            row.MoveRight(dx);
            if (dy > 0) row.MoveDown(dy);
        } else {
            // Absolute mode: `value` literal pixels, padded to a 16-bit boundary.
            const int bytes = rle4 ? (value + 1) / 2 : value;
            std::uint8_t literal = 0;
            bool complete = true;
            for (int i = 0; i < bytes && complete; ++i) {
                complete = data.Next(literal);
                if (!complete) break;
                if (rle4) {
                    const int pixels = std::min(2, value - 2 * i);
                    row.Run(pixels, palette[literal >> 4], palette[literal & 0x0F]);
                } else {
                    row.Run(1, palette[literal], palette[literal]);
                }
            }
            if (!complete) break;
            if (bytes % 2 != 0 && !data.Next(literal)) break;
        }
    }
    if (!row.PastEnd()) row.MoveDown(0);
}
