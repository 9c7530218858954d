#pragma once
// The one owner of a Win32 handle that a single call frees: windows, GDI objects, DCs, image
// lists. Move-only; Release() forgets a handle that went by other means.
#include <utility>

#include "platform/win32/windows_header.h"

template <typename Handle, auto Free> class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : m_Handle(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : m_Handle(other.Release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_Handle = other.Release();
        }
        return *this;
    }
    ~OwnedHandle() { Reset(); }

    Handle Get() const { return m_Handle; }
    explicit operator bool() const { return m_Handle != nullptr; }
    Handle Release() { return std::exchange(m_Handle, nullptr); }
    // The handle stays set while it is freed: a window's procedure still knows its window during
    // WM_DESTROY.
    void Reset()
    {
        if (m_Handle) Free(m_Handle);
        m_Handle = nullptr;
    }

private:
    Handle m_Handle = nullptr;
};
