#include "media/media_kind.h"

#include <algorithm>
#include <string>

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

MediaKind ClassifyMediaFile(std::string_view name)
{
    if (name.size() <= 3) return MediaKind::Other;
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return MediaKind::Other;
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(), AsciiLower);
    if (extension == "jpg" || extension == "bmp") return MediaKind::Photo;
    if (extension == "mp3" || extension == "wma" || extension == "mid") return MediaKind::Music;
    return MediaKind::Other;
}
