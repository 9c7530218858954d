#pragma once
// Owners of a registered window class and of a window.
#include <string>

#include "platform/win32/owned_handle.h"
#include "platform/win32/windows_header.h"

// A window class of this module, unregistered when the object goes.
class WindowClass {
public:
    explicit WindowClass(const WNDCLASSEXA& description)
        : m_Instance(description.hInstance), m_Name(description.lpszClassName)
    {
        m_Atom = RegisterClassExA(&description);
    }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    ~WindowClass()
    {
        if (m_Atom) UnregisterClassA(m_Name.c_str(), m_Instance);
    }
    explicit operator bool() const { return m_Atom != 0; }
    const char* Name() const { return m_Name.c_str(); }

private:
    HINSTANCE m_Instance;
    std::string m_Name;
    ATOM m_Atom = 0;
};

// A window, destroyed when the object goes unless it went first (Release(), on WM_NCDESTROY).
using OwnedWindow = OwnedHandle<HWND, DestroyWindow>;
