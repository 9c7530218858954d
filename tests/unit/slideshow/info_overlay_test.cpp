#include "slideshow/info_overlay.h"

#include <gtest/gtest.h>

TEST(InfoBand, StandsOneTwentiethInAndAHundredAboveTheBottom)
{
    struct Case {
        Size client;
        Rect band;
    };
    for (const Case& c : {Case{{1024, 768}, {51, 568, 921, 100}}, Case{{1920, 1080}, {96, 880, 1728, 100}},
                          Case{{3840, 2160}, {192, 1960, 3456, 100}}, Case{{1366, 768}, {68, 568, 1229, 100}},
                          Case{{799, 600}, {39, 400, 719, 100}}}) {
        EXPECT_EQ(InfoBandArea(c.client, InfoBitmapSize(c.client.width)), c.band) << c.client.width;
    }
    // The bitmap's own size rules, whatever made it.
    EXPECT_EQ(InfoBandArea({1024, 768}, {500, 60}), (Rect{51, 608, 500, 60}));
}

TEST(OverlayLines, AtTenTwentyFourByCarryTheirTextsFontsAndPlaces)
{
    const Rect band = InfoBandArea({1024, 768}, InfoBitmapSize(1024));
    const OverlayValues values{"C:\\a\\b.jpg", "", 12, 3, "07:08:09"};
    const auto lines = OverlayLines(Point{band.x, band.y}, OverlayOptions{true, true, true}, values);
    const std::vector<OverlayLine> expected{
        {OverlayLineKind::PhotoFile, "Ms Sans Serif", 10, {61, 569}, "Current Photo File = C:\\a\\b.jpg"},
        {OverlayLineKind::MusicFile, "Ms Sans Serif", 10, {61, 582}, "Current Music File = "},
        {OverlayLineKind::PhotoCount, "Ms Sans Serif", 10, {61, 598}, "Total Photo Num = 12"},
        {OverlayLineKind::MusicCount, "Ms Sans Serif", 10, {61, 611}, "Total Music Num = 3"},
        {OverlayLineKind::Clock, "Arial", 36, {61, 620}, "07:08:09"},
    };
    EXPECT_EQ(lines, expected);
}

TEST(OverlayLines, EachOptionBringsItsOwnLines)
{
    using K = OverlayLineKind;
    struct Case {
        OverlayOptions options;
        std::vector<K> kinds;
    };
    const Case cases[] = {
        {{false, false, false}, {}},
        {{true, false, false}, {K::PhotoFile, K::MusicFile}},
        {{false, true, false}, {K::PhotoCount, K::MusicCount}},
        {{false, false, true}, {K::Clock}},
        {{true, false, true}, {K::PhotoFile, K::MusicFile, K::Clock}},
        {{true, true, false}, {K::PhotoFile, K::MusicFile, K::PhotoCount, K::MusicCount}},
    };
    for (const Case& c : cases) {
        std::vector<K> kinds;
        for (const OverlayLine& line : OverlayLines({0, 0}, c.options, OverlayValues{})) kinds.push_back(line.kind);
        EXPECT_EQ(kinds, c.kinds) << c.options.currentFileInfo << c.options.allPhotoCount << c.options.dateTime;
        EXPECT_EQ(c.options.Any(), !c.kinds.empty());
    }
}

TEST(FormatClock, TwoDigitsEachWithTheSystemSeparator)
{
    EXPECT_EQ(FormatClock(0, 0, 0, ":"), "00:00:00");
    EXPECT_EQ(FormatClock(23, 59, 7, ":"), "23:59:07");
    EXPECT_EQ(FormatClock(9, 5, 30, "."), "09.05.30");
    EXPECT_EQ(FormatClock(12, 1, 2, " h "), "12 h 01 h 02");
}
