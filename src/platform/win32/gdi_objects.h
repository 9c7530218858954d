#pragma once
// Move-only owners of GDI handles: device contexts, fonts and bitmaps, and the selection of an
// object into a DC, undone before either goes.
#include "platform/win32/owned_handle.h"
#include "platform/win32/windows_header.h"

// A font, bitmap or other object that DeleteObject frees.
template <typename Handle> using GdiObject = OwnedHandle<Handle, DeleteObject>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;

// A memory DC of its own (CreateCompatibleDC).
class MemoryDc : public OwnedHandle<HDC, DeleteDC> {
public:
    MemoryDc() : OwnedHandle(CreateCompatibleDC(nullptr)) {}
};

// A window's DC, or the screen's with a null window, borrowed for a scope (GetDC / ReleaseDC).
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_Window(window), m_Dc(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (m_Dc) ReleaseDC(m_Window, m_Dc);
    }
    HDC Get() const { return m_Dc; }
    explicit operator bool() const { return m_Dc != nullptr; }

private:
    HWND m_Window;
    HDC m_Dc;
};

// An object selected into a DC for a scope; the previous one comes back at the end, so that the
// object can be deleted afterwards.
class ObjectSelection {
public:
    ObjectSelection(HDC dc, HGDIOBJ object) : m_Dc(dc), m_Previous(SelectObject(dc, object)) {}
    ObjectSelection(const ObjectSelection&) = delete;
    ObjectSelection& operator=(const ObjectSelection&) = delete;
    ~ObjectSelection()
    {
        if (m_Previous && m_Previous != HGDI_ERROR) SelectObject(m_Dc, m_Previous);
    }

private:
    HDC m_Dc;
    HGDIOBJ m_Previous;
};
