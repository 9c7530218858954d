#pragma once
// The about box's Win32 window, created by the configuration dialog's view.
#include <memory>

#include "platform/about_box_view.h"
#include "platform/win32/windows_header.h"

// A fresh about box owned by owner (which may be null), hidden until ShowModal.
std::unique_ptr<AboutBoxView> CreateWin32AboutBox(HWND owner);
