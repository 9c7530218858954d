#include "slideshow/info_overlay.h"

namespace {

struct LineRule {
    OverlayLineKind kind;
    int offsetY;
};

// Offsets below the band's top; the small lines sit 13 to 16 pixels apart at 96 dots per inch,
// and the clock's 48 pixels end at the band's bottom edge.
constexpr int kTextIndent = 10;
constexpr LineRule kPhotoFile{OverlayLineKind::PhotoFile, 1};
constexpr LineRule kMusicFile{OverlayLineKind::MusicFile, 14};
constexpr LineRule kPhotoCount{OverlayLineKind::PhotoCount, 30};
constexpr LineRule kMusicCount{OverlayLineKind::MusicCount, 43};
constexpr LineRule kClock{OverlayLineKind::Clock, 52};

void AppendTwoDigits(std::string& text, int value)
{
    text += static_cast<char>('0' + (value / 10) % 10);
    text += static_cast<char>('0' + value % 10);
}

} // namespace

Size InfoBitmapSize(int clientWidth)
{
    // trunc(W * 0.9): the double 0.9 lies just above nine tenths, so the product never falls
    // below an exact integer result and the integer quotient is the same number.
    return Size{clientWidth > 0 ? static_cast<int>(9LL * clientWidth / 10) : 0, kInfoBandHeight};
}

Rect InfoBandArea(Size client, Size band)
{
    // trunc(W * 0.1 * 0.5), exactly W / 20 for the reason above.
    const int left = client.width > 0 ? client.width / 20 : 0;
    return Rect{left, client.height - band.height - 100, band.width, band.height};
}

std::vector<OverlayLine> OverlayLines(Point bandTopLeft, const OverlayOptions& options, const OverlayValues& values)
{
    std::vector<OverlayLine> lines;
    const auto add = [&](const LineRule& rule, std::string_view face, int points, std::string text) {
        lines.push_back(OverlayLine{rule.kind, std::string(face), points,
                                    Point{bandTopLeft.x + kTextIndent, bandTopLeft.y + rule.offsetY}, std::move(text)});
    };
    if (options.currentFileInfo) {
        add(kPhotoFile, kSmallFace, kSmallPoints, "Current Photo File = " + values.currentFile);
        add(kMusicFile, kSmallFace, kSmallPoints, "Current Music File = " + values.currentMusicFile);
    }
    if (options.allPhotoCount) {
        add(kPhotoCount, kSmallFace, kSmallPoints, "Total Photo Num = " + std::to_string(values.photoCount));
        add(kMusicCount, kSmallFace, kSmallPoints, "Total Music Num = " + std::to_string(values.musicCount));
    }
    if (options.dateTime) add(kClock, kClockFace, kClockPoints, values.clock);
    return lines;
}

std::string FormatClock(int hour, int minute, int second, std::string_view separator)
{
    std::string text;
    AppendTwoDigits(text, hour);
    text += separator;
    AppendTwoDigits(text, minute);
    text += separator;
    AppendTwoDigits(text, second);
    return text;
}
