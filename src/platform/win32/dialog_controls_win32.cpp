#include "platform/win32/dialog_controls_win32.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <string>

#include "gfx/error.h"

namespace {

constexpr Pixel kTransparent = MakePixel(255, 0, 255);

} // namespace

const WindowClass& DialogWindowClass(const char* name, WNDPROC procedure)
{
    // One entry per class name; a list keeps the entries where they are.
    static std::list<WindowClass> classes;
    for (const WindowClass& known : classes)
        if (std::strcmp(known.Name(), name) == 0) return known;
    WNDCLASSEXA description{};
    description.cbSize = sizeof(description);
    description.lpfnWndProc = procedure;
    description.hInstance = GetModuleHandleA(nullptr);
    description.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    description.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    description.lpszClassName = name;
    const WindowClass& created = classes.emplace_back(description);
    if (!created) {
        const DWORD code = GetLastError();
        classes.pop_back();
        throw Error("Cannot register the window class " + std::string(name) + " (error " + std::to_string(code) + ")");
    }
    return created;
}

Size FrameSizeFor(Size clientSize, DWORD style, DWORD exStyle, bool hasMenu)
{
    RECT frame{0, 0, clientSize.width, clientSize.height};
    AdjustWindowRectEx(&frame, style, hasMenu ? TRUE : FALSE, exStyle);
    return Size{frame.right - frame.left, frame.bottom - frame.top};
}

FontHandle CreateUiFont(const char* face, int height, int weight, bool underline)
{
    LOGFONTA description{};
    description.lfHeight = -height;
    description.lfWeight = weight;
    description.lfUnderline = underline ? TRUE : FALSE;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = DEFAULT_QUALITY;
    std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    return FontHandle(CreateFontIndirectA(&description));
}

HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, const Rect& place, int id,
                   HFONT font, DWORD exStyle)
{
    const HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.x, place.y,
                                         place.width, place.height, parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         GetModuleHandleA(nullptr), nullptr);
    if (!control) throw Error("Cannot create the control " + std::string(className) + " (error " +
                              std::to_string(GetLastError()) + ")");
    if (font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

BitmapHandle CreateDibSection(const Bitmap& picture)
{
    if (picture.IsEmpty()) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.Width();
    info.bmiHeader.biHeight = -picture.Height(); // top-down, as the Bitmap's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) return {};
    std::memcpy(bits, picture.Data(), picture.Stride() * static_cast<std::size_t>(picture.Height()));
    GdiFlush();
    return section;
}

Bitmap OverBackground(const Bitmap& picture, Pixel background)
{
    Bitmap result = picture;
    for (int y = 0; y < result.Height(); ++y) {
        Pixel* row = result.Row(y);
        std::replace_if(row, row + result.Width(), [](Pixel p) { return (p & 0xFFFFFF) == kTransparent; },
                        background);
    }
    return result;
}

Pixel SystemPixel(int index)
{
    const COLORREF colour = GetSysColor(index);
    return MakePixel(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

ImageList MaskedImageList(const Bitmap& picture)
{
    if (picture.IsEmpty()) return {};
    ImageList list(ImageList_Create(picture.Width(), picture.Height(), ILC_COLOR24 | ILC_MASK, 1, 0));
    const BitmapHandle section = CreateDibSection(picture);
    if (!list.Get() || !section) return {};
    // The list copies the pixels; the section can go.
    if (ImageList_AddMasked(list.Get(), section.Get(), RGB(255, 0, 255)) < 0) return {};
    return list;
}

void RunDialogLoop(HWND window, const bool& finished)
{
    MSG message{};
    while (!finished) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
