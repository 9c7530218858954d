#include "platform/win32/text_canvas.h"

#include <algorithm>
#include <cstring>

#include "gfx/error.h"

namespace {

// Copies a block of rows between two pixel buffers of their own widths.
void CopyRows(Pixel* to, int toWidth, const Pixel* from, int fromWidth, int width, int height)
{
    for (int y = 0; y < height; ++y) {
        std::memcpy(to + static_cast<std::size_t>(y) * static_cast<std::size_t>(toWidth),
                    from + static_cast<std::size_t>(y) * static_cast<std::size_t>(fromWidth),
                    static_cast<std::size_t>(width) * sizeof(Pixel));
    }
}

} // namespace

TextCanvas::TextCanvas()
{
    if (!m_Dc) throw Error("Cannot create a device context for text");
}

HFONT TextCanvas::UseFont(const TextFont& font)
{
    if (m_Font && font.face == m_FontDescription.face && font.points == m_FontDescription.points) return m_Font.Get();
    // Points at the screen's logical resolution, as a character height (negative).
    const WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    const int height = -MulDiv(font.points, dpi, 72);
    FontHandle created(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, font.face.c_str()));
    if (!created) throw Error("Cannot create the font " + font.face);
    m_Font = std::move(created);
    m_FontDescription = font;
    return m_Font.Get();
}

void TextCanvas::Reserve(Size size)
{
    if (m_Dib && size.width <= m_DibSize.width && size.height <= m_DibSize.height) return;
    const Size grown{std::max(size.width, m_DibSize.width), std::max(size.height, m_DibSize.height)};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = grown.width;
    info.bmiHeader.biHeight = -grown.height; // top-down, as a Bitmap
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle dib(CreateDIBSection(m_Dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) throw Error("Cannot create a bitmap for text");
    m_Dib = std::move(dib);
    m_DibPixels = static_cast<Pixel*>(bits);
    m_DibSize = grown;
}

void TextCanvas::Draw(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text)
{
    if (text.empty() || target.IsEmpty()) return;
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
    const HFONT hfont = UseFont(font);

    SIZE extent{};
    {
        const ObjectSelection fontIn(m_Dc.Get(), hfont);
        if (!GetTextExtentPoint32A(m_Dc.Get(), text.data(), length, &extent)) return;
    }
    const Rect area = Rect{topLeft.x, topLeft.y, extent.cx, extent.cy}.Intersected(target.Bounds());
    if (area.IsEmpty()) return;
    Reserve(Size{area.width, area.height});

    CopyRows(m_DibPixels, m_DibSize.width, target.Row(area.y) + area.x, target.Width(), area.width, area.height);
    {
        const ObjectSelection dibIn(m_Dc.Get(), m_Dib.Get());
        const ObjectSelection fontIn(m_Dc.Get(), hfont);
        SetBkMode(m_Dc.Get(), TRANSPARENT);
        SetTextColor(m_Dc.Get(), RGB(0, 0, 0));
        SetTextAlign(m_Dc.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
        TextOutA(m_Dc.Get(), topLeft.x - area.x, topLeft.y - area.y, text.data(), length);
        GdiFlush();
    }
    CopyRows(target.Row(area.y) + area.x, target.Width(), m_DibPixels, m_DibSize.width, area.width, area.height);
}
