#pragma once
// The show drawn into a window that another program owns, as a screen-saver daemon asks for it:
// "--root" (its window, else the root window) or "--window-id ID". These switches are looked at
// before the mode switches; where the OS offers no such windows they are never routed here.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class UiHost;

struct ForeignWindowRequest {
    // "--root" or "-root": the daemon's window, or the root window.
    bool root = false;
    // "--window-id ID" or "-window-id ID" (also "--window-id=ID"): that window.
    std::optional<std::uint64_t> windowId;
    // Why a switch could not be read; empty when it could.
    std::string error;
};

// The request the arguments make (the program name left out); nothing when they name no
// foreign window. A later switch wins over an earlier one.
std::optional<ForeignWindowRequest> ParseForeignWindowSwitches(std::span<const std::string> args);

// A window id as the daemon writes it: hexadecimal after "0x" (or "0X"), else decimal. Nothing
// for an empty, malformed or zero id.
std::optional<std::uint64_t> ParseWindowId(std::string_view text);

// The window to draw into: the one named; with "--root", the one in daemonWindow (the daemon's
// XSCREENSAVER_WINDOW) when it can be read. Nothing: the root window.
std::optional<std::uint64_t> ChooseForeignWindow(const ForeignWindowRequest& request, const char* daemonWindow);

// The slide show in the host's window until it ends; an error is one line on standard error,
// never a box. Always 0: the daemon takes any other status for a failure.
int RunShowInHost(UiHost& host);

// The whole run: the OS's host over the chosen window, then the show. Always 0.
int RunForeignWindowShow(const ForeignWindowRequest& request, const char* daemonWindow);
