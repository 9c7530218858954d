#include "app/log_trace.h"

#include "platform/debug_output.h"

std::string FormatTraceLine(const LocalDateTime& when, std::string_view message)
{
    std::string line = FormatShortDate(when);
    const bool midnight = when.hour == 0 && when.minute == 0 && when.second == 0 && when.millisecond == 0;
    if (!midnight) {
        line += ' ';
        line += FormatLongTime(when);
    }
    line += "  ";
    line += message;
    return line;
}

void LogTrace(std::string_view message)
{
    try {
        WriteDebugOutput(FormatTraceLine(CurrentLocalDateTime(), message));
    } catch (...) {
        // Tracing must never disturb the caller.
    }
}
