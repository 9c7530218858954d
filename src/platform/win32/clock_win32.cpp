#include "platform/clock.h"
#include "platform/win32/windows_header.h"

namespace {

SYSTEMTIME ToSystemTime(const LocalDateTime& when)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(when.year);
    time.wMonth = static_cast<WORD>(when.month);
    time.wDay = static_cast<WORD>(when.day);
    time.wHour = static_cast<WORD>(when.hour);
    time.wMinute = static_cast<WORD>(when.minute);
    time.wSecond = static_cast<WORD>(when.second);
    time.wMilliseconds = static_cast<WORD>(when.millisecond);
    return time;
}

} // namespace

LocalDateTime CurrentLocalDateTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalDateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::string FormatShortDate(const LocalDateTime& when)
{
    const SYSTEMTIME time = ToSystemTime(when);
    char buffer[128];
    const int length = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

std::string FormatLongTime(const LocalDateTime& when)
{
    const SYSTEMTIME time = ToSystemTime(when);
    char buffer[128];
    const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

std::string TimeSeparator()
{
    char buffer[16];
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, buffer, sizeof buffer);
    // The count includes the terminating zero; an empty or unreadable setting keeps the usual one.
    if (length <= 1) return ":";
    return std::string(buffer, static_cast<std::size_t>(length - 1));
}
