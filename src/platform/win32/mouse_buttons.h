#pragma once
// Mouse-button messages as the buttons that forms see.
#include <optional>

#include "platform/ui_host.h"
#include "platform/win32/windows_header.h"

// The button that a button-down message reports; none for any other message.
inline std::optional<MouseButton> ButtonDownOf(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: return MouseButton::Left;
    case WM_RBUTTONDOWN: return MouseButton::Right;
    case WM_MBUTTONDOWN: return MouseButton::Middle;
    case WM_XBUTTONDOWN:
        switch (GET_XBUTTON_WPARAM(wParam)) {
        case XBUTTON1: return MouseButton::Back;
        case XBUTTON2: return MouseButton::Forward;
        default: return std::nullopt;
        }
    default: return std::nullopt;
    }
}
