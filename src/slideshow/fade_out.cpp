#include "slideshow/fade_out.h"

#include <exception>

#include "platform/raster.h"

namespace {

constexpr int kFadePasses = 26;

// The byte rule applied to the three colour bytes of one pixel at once.
constexpr Pixel DarkenPixel(Pixel p)
{
    // The top bit of a colour byte ends up set exactly when the byte is 10 or more: adding 118
    // to its low seven bits cannot carry into the next byte.
    const Pixel atLeastTen = ((((p & 0x007F7F7Fu) + 0x00767676u) | p) & 0x00808080u) >> 7;
    const Pixel mask = atLeastTen * 0xFFu;
    // Only bytes of 10 or more are lowered, so no borrow crosses a byte.
    const Pixel lowered = p - (0x000A0A0Au & mask);
    return (lowered & (mask | 0xFF000000u)) | (0x00050505u & ~mask & 0x00FFFFFFu);
}

} // namespace

void DarkenColourBytes(Bitmap& bitmap)
{
    for (int y = 0; y < bitmap.Height(); ++y) {
        Pixel* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x) row[x] = DarkenPixel(row[x]);
    }
}

void FadeOutPhoto(EffectHost& host, Bitmap& m_PhotoBitmap, Bitmap& m_BackBuffer)
{
    if (m_PhotoBitmap.Width() == 0) return;
    try {
        for (int pass = 0; pass < kFadePasses; ++pass) {
            if (!host.WaitStep()) return;
            DarkenColourBytes(m_PhotoBitmap);
            CopyBlock(m_BackBuffer, m_PhotoBitmap.Bounds(), m_PhotoBitmap, Point{0, 0});
            host.PresentFrame();
        }
    } catch (const std::exception&) {
        // A failed fade only ends early; the slide goes on.
    }
}
