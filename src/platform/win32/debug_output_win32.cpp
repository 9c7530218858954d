#include "platform/debug_output.h"

#include <string>

#include "platform/win32/windows_header.h"

void WriteDebugOutput(std::string_view line)
{
    // One call is one line on the debugger's channel; it adds no terminator.
    const std::string text(line);
    OutputDebugStringA(text.c_str());
}
