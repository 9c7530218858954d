#pragma once
// A handler's error stops at the edge of the OS's frames, as a framework would stop it: none may
// cross the system's or a C library's code. It is shown in the standard error box.
#include <exception>
#include <utility>

// The standard error box for a handler's error; a failure to show it is swallowed.
void ReportHandlerError(const char* message) noexcept;

// Runs call; true when it ended without an error.
template <typename Call>
bool Guarded(Call&& call) noexcept
{
    try {
        std::forward<Call>(call)();
        return true;
    } catch (const std::exception& error) {
        ReportHandlerError(error.what());
    } catch (...) {
        ReportHandlerError("An unexpected error occurred");
    }
    return false;
}
