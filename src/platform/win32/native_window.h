#pragma once
// Move-only owners of a registered window class and of a window.
#include <string>
#include <utility>

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

// A window, destroyed when the object goes unless the window went first (Release()).
class OwnedWindow {
public:
    OwnedWindow() = default;
    explicit OwnedWindow(HWND window) : m_Window(window) {}
    OwnedWindow(OwnedWindow&& other) noexcept : m_Window(std::exchange(other.m_Window, nullptr)) {}
    OwnedWindow& operator=(OwnedWindow&& other) noexcept
    {
        if (this != &other) {
            Destroy();
            m_Window = std::exchange(other.m_Window, nullptr);
        }
        return *this;
    }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;
    ~OwnedWindow() { Destroy(); }

    HWND Get() const { return m_Window; }
    explicit operator bool() const { return m_Window != nullptr; }
    // The window was destroyed by other means (WM_DESTROY seen): forget it.
    void Release() { m_Window = nullptr; }
    // The handle stays valid during WM_DESTROY, so that the window procedure still knows it.
    void Destroy()
    {
        if (!m_Window) return;
        DestroyWindow(m_Window);
        m_Window = nullptr;
    }

private:
    HWND m_Window = nullptr;
};
