#pragma once
// An off-screen picture of 32-bit pixels, blue-green-red-unused bytes in memory (0x00RRGGBB as
// a little-endian word): the layout of a Win32 32-bit DIB section and of a cairo RGB24 surface.
#include <cstdint>
#include <vector>

#include "gfx/geometry.h"

using Pixel = std::uint32_t;

constexpr Pixel MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return (Pixel{red} << 16) | (Pixel{green} << 8) | Pixel{blue};
}
constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;

class Bitmap {
public:
    Bitmap() = default;
    // Throws Error when the size is negative or too large to hold.
    Bitmap(int width, int height, Pixel brush = kWhite);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    Size GetSize() const { return Size{m_Width, m_Height}; }
    Rect Bounds() const { return Rect{0, 0, m_Width, m_Height}; }
    bool IsEmpty() const { return m_Width == 0 || m_Height == 0; }

    Pixel BrushColor() const { return m_Brush; }
    void SetBrushColor(Pixel brush) { m_Brush = brush; }

    // Resizing keeps the old pixels in the top-left overlap and fills any gained area with the
    // brush colour.
    void SetWidth(int width) { SetSize(width, m_Height); }
    void SetHeight(int height) { SetSize(m_Width, height); }
    void SetSize(int width, int height);

    Pixel* Row(int y) { return m_Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_Width); }
    const Pixel* Row(int y) const
    {
        return m_Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_Width);
    }
    Pixel* Data() { return m_Pixels.data(); }
    const Pixel* Data() const { return m_Pixels.data(); }
    // Bytes from one row to the next.
    std::size_t Stride() const { return static_cast<std::size_t>(m_Width) * sizeof(Pixel); }

    Pixel& At(int x, int y) { return Row(y)[x]; }
    Pixel At(int x, int y) const { return Row(y)[x]; }

    friend bool operator==(const Bitmap& a, const Bitmap& b)
    {
        return a.m_Width == b.m_Width && a.m_Height == b.m_Height && a.m_Pixels == b.m_Pixels;
    }

private:
    int m_Width = 0;
    int m_Height = 0;
    Pixel m_Brush = kWhite;
    std::vector<Pixel> m_Pixels;
};

// The largest picture the program agrees to hold, in pixels: a claimed size above this is an
// error, not an allocation.
constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 28;
