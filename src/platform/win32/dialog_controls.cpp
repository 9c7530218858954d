#include "platform/win32/dialog_controls.h"

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

HFONT DialogFonts::Get(int height, bool bold, bool underline)
{
    const auto key = std::make_tuple(height ? height : m_Height, bold, underline);
    auto known = m_Fonts.find(key);
    if (known == m_Fonts.end())
        known = m_Fonts.emplace(key, CreateUiFont(m_Face, std::get<0>(key), bold ? FW_BOLD : FW_NORMAL, underline)).first;
    return known->second.Get();
}

void DialogHints::Add(HWND window, HWND control, const char* hint)
{
    if (!m_Tips) {
        m_Tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        if (!m_Tips) return;
    }
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(hint);
    SendMessageA(m_Tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND CreateTableControl(HWND window, int id, ControlKind kind, const Rect& place, const char* text, bool tabStop,
                        bool readOnly, TextAlign align, bool wraps, HFONT font)
{
    const DWORD tab = tabStop ? WS_TABSTOP : 0;
    const DWORD labelAlign = align == TextAlign::Centre ? SS_CENTER
        : align == TextAlign::Right                     ? SS_RIGHT
        : wraps                                         ? SS_LEFT
                                                        : SS_LEFTNOWORDWRAP;
    switch (kind) {
    case ControlKind::Picture: return CreateControl(window, "STATIC", "", SS_OWNERDRAW | SS_NOTIFY, place, id, font);
    case ControlKind::Label: return CreateControl(window, "STATIC", text, labelAlign, place, id, font);
    case ControlKind::Link:
        // SS_NOTIFY lets the label take the mouse: clicks, moves and the pointer question.
        return CreateControl(window, "STATIC", text, SS_LEFTNOWORDWRAP | SS_NOTIFY, place, id, font);
    case ControlKind::ListBox: {
        const HWND list = CreateControl(window, "LISTBOX", text, tab | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT,
                                        place, id, font, WS_EX_CLIENTEDGE);
        SendMessageA(list, LB_SETITEMHEIGHT, 0, kListLineHeight);
        SendMessageA(list, LB_SETHORIZONTALEXTENT, kListScrollWidth, 0);
        return list;
    }
    case ControlKind::Button: return CreateControl(window, "BUTTON", text, tab | BS_PUSHBUTTON, place, id, font);
    case ControlKind::CheckBox: return CreateControl(window, "BUTTON", text, tab | BS_AUTOCHECKBOX, place, id, font);
    case ControlKind::UpDown: return CreateControl(window, UPDOWN_CLASSA, text, UDS_ARROWKEYS, place, id, nullptr);
    case ControlKind::Edit:
        return CreateControl(window, "EDIT", text, tab | (readOnly ? ES_READONLY : 0) | ES_AUTOHSCROLL, place, id,
                             font, WS_EX_CLIENTEDGE);
    case ControlKind::Panel: break;
    }
    return nullptr;
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
