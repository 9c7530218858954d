#pragma once
// What the configuration dialog and the about box share: their window classes, fonts, the child
// controls built from a dialog's table, pictures as DIB sections, the modal message loop, and
// handlers' errors stopped at the window procedure.
#include <exception>
#include <map>
#include <memory>
#include <span>
#include <string_view>
#include <tuple>
#include <vector>

#include "config/dialog_layout.h"

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "platform/handler_guard.h"
#include "platform/message_box.h"
#include "platform/win32/gdi_objects.h"
#include "platform/win32/native_window.h"
#include "platform/win32/windows_header.h"
#include <commctrl.h>

// A window class registered on first use and kept while the program runs.
const WindowClass& DialogWindowClass(const char* name, WNDPROC procedure);

// The window procedure of a view's window. The creating view (the creation parameter) is kept in
// the window's user data from WM_NCCREATE until WM_NCDESTROY; while it holds its window
// (View::HasWindow), messages go to View::Handle.
template <typename View>
LRESULT CALLBACK ViewWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = reinterpret_cast<View*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        view = static_cast<View*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (!view || !view->HasWindow()) return DefWindowProcA(window, message, wParam, lParam);
    return view->Handle(message, wParam, lParam);
}

// The size of the window whose client area is clientSize, for its styles and menu bar.
Size FrameSizeFor(Size clientSize, DWORD style, DWORD exStyle, bool hasMenu);

// A font of the given character height in pixels (a negative lfHeight).
FontHandle CreateUiFont(const char* face, int height, int weight = FW_NORMAL, bool underline = false);

// A visible child control with its font.
HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, const Rect& place,
                   int id, HFONT font, DWORD exStyle = 0);

// A top-down 32-bit DIB section holding the picture's pixels.
BitmapHandle CreateDibSection(const Bitmap& picture);

// The picture with its pure magenta pixels, the transparent ones, in the background colour.
Bitmap OverBackground(const Bitmap& picture, Pixel background);

// A system colour in the Bitmap's pixel layout.
Pixel SystemPixel(int index);

// An image list, destroyed when the object goes.
using ImageList = OwnedHandle<HIMAGELIST, ImageList_Destroy>;

// An image list of one picture whose pure magenta pixels are masked out.
ImageList MaskedImageList(const Bitmap& picture);

// Runs the thread's messages, Tab and arrow keys moving between window's controls, until
// finished is true. A WM_QUIT ends the loop early and is posted again for the outer loop.
void RunDialogLoop(HWND window, const bool& finished);


// The fonts of one window: its own face at the sizes and weights its controls ask for.
class DialogFonts {
public:
    DialogFonts(const char* face, int height) : m_Face(face), m_Height(height) {}
    // 0 for the window's height.
    HFONT Get(int height = 0, bool bold = false, bool underline = false);

private:
    const char* m_Face;
    int m_Height;
    std::map<std::tuple<int, bool, bool>, FontHandle> m_Fonts;
};

// A window's tool tips, created with the first hint; owned by the window, so it goes with it.
class DialogHints {
public:
    void Add(HWND window, HWND control, const char* hint);
    void Forget() { m_Tips = nullptr; }

private:
    HWND m_Tips = nullptr;
};

// Control identifiers: a control's index in its table above this, a menu item's above
// kFirstMenuId. Both stay clear of IDOK and IDCANCEL, which IsDialogMessage sends for Enter and
// Escape and which the dialogs leave alone.
constexpr int kFirstControlId = 100;
constexpr int kFirstMenuId = 200;

template <typename Events> int ControlId(std::span<const DialogControl<Events>> controls, const DialogControl<Events>& c)
{
    return kFirstControlId + static_cast<int>(&c - controls.data());
}

// The child window of a control of the table.
template <typename Events>
HWND ControlWindow(HWND window, std::span<const DialogControl<Events>> controls, const DialogControl<Events>& c)
{
    return GetDlgItem(window, ControlId(controls, c));
}

// The table's controls in the order they are created: the focus follows the order of creation,
// so the controls that take the focus come in their tab order; the others keep their places.
template <typename Events>
std::vector<const DialogControl<Events>*> CreationOrder(std::span<const DialogControl<Events>> controls)
{
    const std::vector<const DialogControl<Events>*> stops = TabOrder(controls);
    std::vector<const DialogControl<Events>*> order;
    std::size_t next = 0;
    for (const DialogControl<Events>& control : controls)
        order.push_back(control.tabOrder == kNoTabStop ? &control : stops[next++]);
    return order;
}

// Creates one control of a table as its kind asks (a panel is painted by its window and has no
// child window). An up-down control takes its keys through the edit it is bound to, so it is no
// tab stop of its own.
HWND CreateTableControl(HWND window, int id, ControlKind kind, const Rect& place, const char* text, bool tabStop,
                        bool readOnly, TextAlign align, bool wraps, HFONT font);

template <typename Events>
void CreateTableControls(HWND window, std::span<const DialogControl<Events>> controls, DialogFonts& fonts,
                         DialogHints& hints)
{
    for (const DialogControl<Events>* control : CreationOrder(controls)) {
        if (control->kind == ControlKind::Panel) continue;
        const HFONT font = fonts.Get(control->fontHeight, control->bold, control->kind == ControlKind::Link);
        // A label whose text the program replaces grows to it rather than wrap.
        const bool wraps = control->kind == ControlKind::Label && std::string_view(control->name) != kVersionLabelName;
        const HWND created = CreateTableControl(window, ControlId(controls, *control), control->kind,
                                                ClientPlace(controls, *control), control->text,
                                                control->tabOrder != kNoTabStop, control->readOnly, control->align,
                                                wraps, font);
        if (control->kind == ControlKind::CheckBox)
            SendMessageA(created, BM_SETCHECK, control->checked ? BST_CHECKED : BST_UNCHECKED, 0);
        if (control->hint) hints.Add(window, created, control->hint);
    }
}

// WM_COMMAND from a control of the table: a click on a control with a click handler.
template <typename Events>
void ForwardCommand(std::span<const DialogControl<Events>> controls, Events* events, int id, int code)
{
    const int index = id - kFirstControlId;
    if (!events || index < 0 || index >= static_cast<int>(controls.size())) return;
    const DialogControl<Events>& control = controls[static_cast<std::size_t>(index)];
    const bool isButton = control.kind == ControlKind::Button;
    if (control.click && code == (isButton ? BN_CLICKED : STN_CLICKED))
        Guarded([&] { (events->*control.click)(); });
}
