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
