#include "slideshow/fade_out.h"

#include <gtest/gtest.h>

#include <vector>

#include "unit/test_support/pattern_bitmap.h"
#include "unit/test_support/recording_host.h"

namespace {

std::uint8_t ByteRule(int value)
{
    return static_cast<std::uint8_t>(value < 10 ? 5 : value - 10);
}

// Every byte value in every colour byte, with a changing unused byte; 261 pixels a row, so that
// the pixels after the last whole chunk of a row are covered too.
Bitmap AllByteValues()
{
    Bitmap bitmap(261, 3);
    for (int v = 0; v < bitmap.Width(); ++v) {
        const auto b = static_cast<std::uint8_t>(v);
        const auto other = static_cast<std::uint8_t>(255 - v);
        bitmap.At(v, 0) = (Pixel{b} << 24) | MakePixel(b, other, other);
        bitmap.At(v, 1) = (Pixel{other} << 24) | MakePixel(other, b, 9);
        bitmap.At(v, 2) = MakePixel(10, 11, b);
    }
    return bitmap;
}

} // namespace

TEST(DarkenColourBytes, AppliesTheByteRuleToEachColourByteAndKeepsTheUnusedByte)
{
    const Bitmap before = AllByteValues();
    Bitmap after = before;
    DarkenColourBytes(after);
    for (int y = 0; y < before.Height(); ++y) {
        for (int x = 0; x < before.Width(); ++x) {
            const Pixel p = before.At(x, y);
            const Pixel expected = (p & 0xFF000000u) | MakePixel(ByteRule((p >> 16) & 0xFF), ByteRule((p >> 8) & 0xFF),
                                                                 ByteRule(p & 0xFF));
            ASSERT_EQ(after.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST(FadeOutPhoto, EndsAtAnEvenDarkGreyAfterTwentySixPasses)
{
    Bitmap photo = AllByteValues();
    Bitmap back(photo.Width(), photo.Height(), kBlack);
    RecordingHost host(back);
    host.Keep(0);
    host.Keep(23);
    host.Keep(24);
    FadeOutPhoto(host, photo, back);

    EXPECT_EQ(host.Waits(), 26);
    EXPECT_EQ(host.Frames(), 26);
    EXPECT_EQ(host.LastSteps(), std::vector<int>{25});
    for (int y = 0; y < photo.Height(); ++y) {
        for (int x = 0; x < photo.Width(); ++x) {
            ASSERT_EQ(photo.At(x, y) & 0x00FFFFFFu, 0x00050505u) << x << "," << y;
            ASSERT_EQ(photo.At(x, y) >> 24, AllByteValues().At(x, y) >> 24);
        }
    }
    EXPECT_EQ(back, photo);
    // Black turns dark grey on the first pass; 255 reaches 5 after 25 passes.
    EXPECT_EQ((host.Kept(0).At(0, 0) >> 16) & 0xFFu, 5u);
    EXPECT_EQ((host.Kept(0).At(255, 0) >> 16) & 0xFFu, 245u);
    EXPECT_EQ((host.Kept(23).At(255, 0) >> 16) & 0xFFu, 15u);
    EXPECT_EQ((host.Kept(24).At(255, 0) >> 16) & 0xFFu, 5u);
}

TEST(FadeOutPhoto, CopiesOntoTheBackBufferAtTheTopLeft)
{
    Bitmap photo = MakePattern(4, 3, 1);
    Bitmap back = MakePattern(6, 2, 2);
    const Bitmap entry = back;
    RecordingHost host(back);
    host.StopBefore(1);
    FadeOutPhoto(host, photo, back);
    EXPECT_EQ(host.Frames(), 1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 6; ++x) EXPECT_EQ(back.At(x, y), x < 4 ? photo.At(x, y) : entry.At(x, y)) << x << "," << y;
    }
}

TEST(FadeOutPhoto, EachPassLeavesTheDarkenedPhotoInPlaceAndOnTheBackBuffer)
{
    // Back buffers narrower, wider, shorter and taller than the photo, and one over 16 MB,
    // whose rows are written around the cache.
    struct Case {
        Size photo;
        Size back;
    };
    for (const Case& c : {Case{{261, 3}, {261, 3}}, Case{{261, 3}, {200, 5}}, Case{{70, 9}, {75, 4}},
                          Case{{7, 2}, {3, 1}}, Case{{2100, 2050}, {2100, 2050}}, Case{{2050, 2100}, {2049, 2101}}}) {
        Bitmap photo = MakePattern(c.photo.width, c.photo.height, 1);
        for (int x = 0; x < photo.Width(); ++x) photo.At(x, 0) = AllByteValues().At(x % 261, x % 3);
        Bitmap back = MakePattern(c.back.width, c.back.height, 2);
        const Bitmap entry = back;
        Bitmap expected = photo;
        RecordingHost host(back);
        host.StopBefore(2);
        FadeOutPhoto(host, photo, back);
        ASSERT_EQ(host.Frames(), 2);
        DarkenColourBytes(expected);
        DarkenColourBytes(expected);
        ASSERT_TRUE(photo == expected) << c.photo.width << "x" << c.photo.height;
        for (int y = 0; y < back.Height(); ++y) {
            for (int x = 0; x < back.Width(); ++x) {
                const bool covered = x < photo.Width() && y < photo.Height();
                ASSERT_EQ(back.At(x, y), covered ? photo.At(x, y) : entry.At(x, y))
                    << c.photo.width << "x" << c.photo.height << " onto " << c.back.width << "x" << c.back.height
                    << " at " << x << "," << y;
            }
        }
    }
}

TEST(FadeOutPhoto, StopsWhenWaitStepSaysSo)
{
    Bitmap photo(2, 2, 0x00FFFFFF);
    Bitmap back(2, 2, kBlack);
    RecordingHost host(back);
    host.StopBefore(3);
    FadeOutPhoto(host, photo, back);
    EXPECT_EQ(host.Waits(), 4);
    EXPECT_EQ(host.Frames(), 3);
    EXPECT_EQ(photo.At(1, 1), 0x00E1E1E1u);
    EXPECT_EQ(back, photo);

    Bitmap untouched(2, 2, 0x00FFFFFF);
    RecordingHost stopAtOnce(back);
    stopAtOnce.StopBefore(0);
    FadeOutPhoto(stopAtOnce, untouched, back);
    EXPECT_EQ(stopAtOnce.Frames(), 0);
    EXPECT_EQ(untouched.At(0, 0), 0x00FFFFFFu);
}

TEST(FadeOutPhoto, NothingToFadeBeforeTheFirstPhoto)
{
    Bitmap photo;
    Bitmap back;
    RecordingHost host(back);
    FadeOutPhoto(host, photo, back);
    EXPECT_EQ(host.Waits(), 0);
    EXPECT_EQ(host.Frames(), 0);
}

TEST(FadeOutPhoto, AnErrorEndsTheFadeQuietly)
{
    Bitmap photo(2, 2, 0x00FFFFFF);
    Bitmap back(2, 2, kBlack);
    RecordingHost host(back);
    host.FailAt(2);
    EXPECT_NO_THROW(FadeOutPhoto(host, photo, back));
    EXPECT_EQ(host.Waits(), 3);
    EXPECT_EQ(photo.At(0, 0), 0x00E1E1E1u);
}
