#include "gfx/bitmap.h"

#include <algorithm>
#include <string>

#include "gfx/error.h"

namespace {

void CheckSize(int width, int height)
{
    if (width < 0 || height < 0 || std::int64_t{width} * height > kMaxBitmapPixels) {
        throw Error("Invalid bitmap size " + std::to_string(width) + " x " + std::to_string(height));
    }
}

} // namespace

Bitmap::Bitmap(int width, int height, Pixel brush) : m_Brush(brush)
{
    SetSize(width, height);
}

void Bitmap::SetSize(int width, int height)
{
    CheckSize(width, height);
    if (width == m_Width && height == m_Height) return;
    std::vector<Pixel> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), m_Brush);
    const int keepWidth = std::min(width, m_Width);
    const int keepHeight = std::min(height, m_Height);
    for (int y = 0; y < keepHeight; ++y) {
        std::copy_n(Row(y), keepWidth, pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width));
    }
    m_Pixels = std::move(pixels);
    m_Width = width;
    m_Height = height;
}
