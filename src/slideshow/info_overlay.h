#pragma once
// The information band over the slide show: where it stands, and the lines of text in it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/geometry.h"

// Which lines the user asked for.
struct OverlayOptions {
    bool currentFileInfo = false;
    bool allPhotoCount = false;
    bool dateTime = false;
    [[nodiscard]] bool Any() const { return currentFileInfo || allPhotoCount || dateTime; }
};

enum class OverlayLineKind { PhotoFile, MusicFile, PhotoCount, MusicCount, Clock };

// One line of text: drawn in black on a transparent background, its top-left corner at `at`.
struct OverlayLine {
    OverlayLineKind kind = OverlayLineKind::PhotoFile;
    std::string face;
    int points = 10;
    Point at;
    std::string text;
    friend bool operator==(const OverlayLine&, const OverlayLine&) = default;
};

// What the lines say.
struct OverlayValues {
    std::string currentFile;
    std::string currentMusicFile;
    std::size_t photoCount = 0;
    std::size_t musicCount = 0;
    std::string clock;
};

inline constexpr int kInfoBandHeight = 100;
inline constexpr int kInfoBandAlpha = 90;
inline constexpr std::string_view kSmallFace = "Ms Sans Serif";
inline constexpr int kSmallPoints = 10;
inline constexpr std::string_view kClockFace = "Arial";
inline constexpr int kClockPoints = 36;

// The band bitmap's size for a window of the given width: nine tenths of it, 100 high.
Size InfoBitmapSize(int clientWidth);

// The band on a window of size `client` for a band bitmap of size `band`: one twentieth of the
// width in from the left, its bottom edge 100 pixels above the window's bottom.
Rect InfoBandArea(Size client, Size band);

// The lines the options ask for, in drawing order, placed in the band whose top-left is given.
std::vector<OverlayLine> OverlayLines(Point bandTopLeft, const OverlayOptions& options, const OverlayValues& values);

// A time of day as two-digit hours (00 to 23), minutes and seconds joined by `separator`.
std::string FormatClock(int hour, int minute, int second, std::string_view separator);
