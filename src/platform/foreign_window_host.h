#pragma once
// A UI host whose main window is an existing window of another program (a screen-saver daemon's
// or its settings preview). OpenFullScreenWindow attaches to that window instead of making one:
// nothing of the program's own is mapped, the window's input stays with its owner, ScreenSize()
// is the window's size and follows it (UiEvents::Resized). The termination signals and the
// window's destruction close the show through the close protocol.
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/ui_host.h"

// window: the id of the window, nothing for the root window. Throws Error when the window does
// not exist or there is no display. Null where the OS has no such windows.
std::unique_ptr<UiHost> CreateForeignWindowHost(std::optional<std::uint64_t> window);
