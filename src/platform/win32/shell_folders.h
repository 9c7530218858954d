#pragma once
// The system's folder browser.
#include <optional>
#include <string>

#include "platform/win32/windows_header.h"

// The folder browser, modal over owner, rooted at the computer's drives, showing prompt above
// its tree and returning only file-system directories: the chosen path, or nothing when the
// user cancelled or chose something without a path.
std::optional<std::string> BrowseForDirectory(HWND owner, const std::string& prompt);
