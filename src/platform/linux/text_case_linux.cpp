#include <cctype>

#include "platform/linux/glib_owners.h"
#include "platform/text.h"

namespace {

std::string FoldCase(std::string_view text, bool lower)
{
    // GLib rejects a null pointer, which an empty view may carry, with a warning on stderr.
    if (text.empty()) return {};
    // The system code page here is UTF-8; bytes that are not valid UTF-8 fold as ASCII only.
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        const GlibString folded(lower ? g_utf8_strdown(text.data(), static_cast<gssize>(text.size()))
                                      : g_utf8_strup(text.data(), static_cast<gssize>(text.size())));
        if (folded) return folded.str();
    }
    std::string result(text);
    for (char& c : result) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 128) c = static_cast<char>(lower ? std::tolower(byte) : std::toupper(byte));
    }
    return result;
}

} // namespace

std::string AnsiLowerCase(std::string_view text) { return FoldCase(text, true); }
std::string AnsiUpperCase(std::string_view text) { return FoldCase(text, false); }
