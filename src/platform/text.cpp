#include "platform/text.h"

#include "gfx/error.h"

namespace {

bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::string TrimControlChars(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsControlOrBlank(text[first])) ++first;
    while (last > first && IsControlOrBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

bool TryStrToInt(std::string_view text, std::int32_t& value)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;

    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }

    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos < text.size() && (text[pos] == 'x' || text[pos] == 'X')) {
        base = 16;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos == text.size()) return false;

    // Hexadecimal digits give the 32-bit pattern (so $FFFFFFFF is -1); decimal must fit the
    // signed range.
    std::uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = base == 16 ? HexDigitValue(text[pos])
                                     : (text[pos] >= '0' && text[pos] <= '9' ? text[pos] - '0' : -1);
        if (digit < 0) return false;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > 0xFFFFFFFFull) return false;
    }

    if (base == 16) {
        // The sign negates the pattern in 32 bits, so -$80000000 is the lowest integer.
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    const std::int64_t result = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (result < INT32_MIN || result > INT32_MAX) return false;
    value = static_cast<std::int32_t>(result);
    return true;
}

std::int32_t StrToInt(std::string_view text)
{
    std::int32_t value = 0;
    if (!TryStrToInt(text, value)) {
        throw Error(FormatMessageText("'%s' is not a valid integer value", text));
    }
    return value;
}

std::string FormatMessageText(std::string_view pattern, std::string_view argument)
{
    std::string result(pattern);
    const auto at = result.find("%s");
    if (at != std::string::npos) result.replace(at, 2, argument);
    return result;
}

std::string ExtractFileExt(std::string_view path)
{
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    // A "." inside a directory name is not an extension.
    const auto separator = path.find_last_of("\\/:");
    if (separator != std::string_view::npos && separator > dot) return {};
    return std::string(path.substr(dot));
}
