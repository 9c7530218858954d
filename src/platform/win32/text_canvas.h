#pragma once
// GDI text drawn into a Bitmap: a DIB section and a memory DC of its own, through which only the
// text's rectangle of the target passes.
#include <string_view>

#include "gfx/bitmap.h"
#include "platform/ui_host.h"
#include "platform/win32/gdi_objects.h"

class TextCanvas {
public:
    TextCanvas();
    // Black text, transparent background, the text's top-left at topLeft; clipped to target.
    void Draw(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text);

private:
    HFONT UseFont(const TextFont& font);
    void Reserve(Size size);

    MemoryDc m_Dc;
    BitmapHandle m_Dib;
    Pixel* m_DibPixels = nullptr;
    Size m_DibSize;
    FontHandle m_Font;
    TextFont m_FontDescription;
};
