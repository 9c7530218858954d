#pragma once
// What the configuration dialog and the about box share: their window classes, fonts, child
// controls at their places, pictures as DIB sections, the modal message loop, and handlers'
// errors stopped at the window procedure.
#include <exception>
#include <memory>

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
class ImageList {
public:
    ImageList() = default;
    explicit ImageList(HIMAGELIST list) : m_List(list) {}
    ImageList(ImageList&& other) noexcept : m_List(std::exchange(other.m_List, nullptr)) {}
    ImageList& operator=(ImageList&& other) noexcept
    {
        if (this != &other) {
            if (m_List) ImageList_Destroy(m_List);
            m_List = std::exchange(other.m_List, nullptr);
        }
        return *this;
    }
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    ~ImageList()
    {
        if (m_List) ImageList_Destroy(m_List);
    }
    HIMAGELIST Get() const { return m_List; }

private:
    HIMAGELIST m_List = nullptr;
};

// An image list of one picture whose pure magenta pixels are masked out.
ImageList MaskedImageList(const Bitmap& picture);

// Runs the thread's messages, Tab and arrow keys moving between window's controls, until
// finished is true. A WM_QUIT ends the loop early and is posted again for the outer loop.
void RunDialogLoop(HWND window, const bool& finished);

