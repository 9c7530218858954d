#include "platform/clock.h"

#include <clocale>
#include <ctime>
#include <locale.h>
#include <sys/time.h>

namespace {

// The user's time formats come from LC_TIME in the environment, as for any Linux program.
locale_t UserTimeLocale()
{
    static const locale_t locale = [] {
        locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
        return user ? user : newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }();
    return locale;
}

std::string Format(const LocalDateTime& when, const char* pattern)
{
    std::tm parts{};
    parts.tm_year = when.year - 1900;
    parts.tm_mon = when.month - 1;
    parts.tm_mday = when.day;
    parts.tm_hour = when.hour;
    parts.tm_min = when.minute;
    parts.tm_sec = when.second;
    parts.tm_isdst = -1;
    char buffer[128];
    const std::size_t length = strftime_l(buffer, sizeof buffer, pattern, &parts, UserTimeLocale());
    return std::string(buffer, length);
}

} // namespace

LocalDateTime CurrentLocalDateTime()
{
    timeval now{};
    gettimeofday(&now, nullptr);
    std::tm parts{};
    localtime_r(&now.tv_sec, &parts);
    return LocalDateTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                         parts.tm_min,         parts.tm_sec,     static_cast<int>(now.tv_usec / 1000)};
}

std::string FormatShortDate(const LocalDateTime& when) { return Format(when, "%x"); }
std::string FormatLongTime(const LocalDateTime& when) { return Format(when, "%X"); }

// The C library offers no locale item for the time separator alone; Linux locales use ":".
std::string TimeSeparator() { return ":"; }
