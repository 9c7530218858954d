#pragma once
// Text helpers shared by all subsystems. Texts are 8-bit strings in the system's ANSI code page
// (UTF-8 on Linux).
#include <cstdint>
#include <string>
#include <string_view>

// Removes from both ends every character whose code is 32 or less.
std::string TrimControlChars(std::string_view text);

// Locale-aware case folding in the system code page (OS-specific implementation).
std::string AnsiLowerCase(std::string_view text);
std::string AnsiUpperCase(std::string_view text);

// The runtime's text-to-integer rules: leading blanks, an optional sign, decimal digits or
// hexadecimal ones after "$", "x" or "0x", signed 32-bit range. Anything else throws Error with
// "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
bool TryStrToInt(std::string_view text, std::int32_t& value);

// Replaces the first "%s" of a message template.
std::string FormatMessageText(std::string_view pattern, std::string_view argument);

// The extension of a file name, from its last "." on (the "." included); empty without one.
std::string ExtractFileExt(std::string_view path);
