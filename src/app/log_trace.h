#pragma once
#include <string>
#include <string_view>

#include "platform/clock.h"

// Emits one trace line: the local date and time, two blanks, the message. Never fails; safe
// from any thread.
void LogTrace(std::string_view message);

// The trace line for a given moment: short date, a blank and the long time (the blank and the
// time left out at exactly 00:00:00), then two blanks and the message.
std::string FormatTraceLine(const LocalDateTime& when, std::string_view message);
