#pragma once
#include <string_view>

// Sends one whole line to the debugger output channel (standard error where there is none).
// Safe to call from several threads at once: lines never interleave.
void WriteDebugOutput(std::string_view line);
