#include "platform/text.h"
#include "platform/win32/windows_header.h"

namespace {

std::string FoldCase(std::string_view text, bool lower)
{
    std::string result(text);
    if (!result.empty()) {
        const auto length = static_cast<DWORD>(result.size());
        if (lower) {
            CharLowerBuffA(result.data(), length);
        } else {
            CharUpperBuffA(result.data(), length);
        }
    }
    return result;
}

} // namespace

std::string AnsiLowerCase(std::string_view text) { return FoldCase(text, true); }
std::string AnsiUpperCase(std::string_view text) { return FoldCase(text, false); }
