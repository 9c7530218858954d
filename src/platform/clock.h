#pragma once
// Local calendar time and the user's date and time formats (OS-specific implementation).
#include <string>

struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

LocalDateTime CurrentLocalDateTime();

// The date in the user's short date format and the time in the user's long time format.
std::string FormatShortDate(const LocalDateTime& when);
std::string FormatLongTime(const LocalDateTime& when);

// The user's time separator (":" on most systems), between hours, minutes and seconds.
std::string TimeSeparator();
