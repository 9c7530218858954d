#include "gfx/raster.h"

#include <gtest/gtest.h>

#include <vector>

#include "unit/test_support/pattern_bitmap.h"

namespace {

bool Inside(const Bitmap& bitmap, std::int64_t x, std::int64_t y)
{
    return x >= 0 && y >= 0 && x < bitmap.Width() && y < bitmap.Height();
}

// The block copy written pixel by pixel, straight from its definition.
void ReferenceCopy(Bitmap& dst, Rect to, const Bitmap& src, Point from)
{
    for (std::int64_t v = 0; v < to.height; ++v) {
        for (std::int64_t u = 0; u < to.width; ++u) {
            if (Inside(src, from.x + u, from.y + v) && Inside(dst, to.x + u, to.y + v)) {
                dst.At(static_cast<int>(to.x + u), static_cast<int>(to.y + v)) =
                    src.At(static_cast<int>(from.x + u), static_cast<int>(from.y + v));
            }
        }
    }
}

Pixel ReferenceBlendPixel(Pixel s, Pixel d, int alpha)
{
    Pixel result = d & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int sc = static_cast<int>((s >> shift) & 0xFF);
        const int dc = static_cast<int>((d >> shift) & 0xFF);
        result |= static_cast<Pixel>((sc * alpha + dc * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

Rect RandomRect(TestRandom& random)
{
    return Rect{random.Between(-30, 40), random.Between(-30, 40), random.Between(-5, 60), random.Between(-5, 60)};
}

} // namespace

TEST(CopyBlock, MatchesPixelByPixelDefinitionForAnyRectangle)
{
    const Bitmap photo = MakePattern(37, 23, 1);
    TestRandom random(7);
    for (int n = 0; n < 3000; ++n) {
        const Rect to = RandomRect(random);
        const Point from{random.Between(-40, 45), random.Between(-40, 30)};
        Bitmap expected = MakePattern(29, 31, 2);
        Bitmap actual = expected;
        ReferenceCopy(expected, to, photo, from);
        CopyBlock(actual, to, photo, from);
        ASSERT_EQ(actual, expected) << "to " << to.x << "," << to.y << " " << to.width << "x" << to.height
                                    << " from " << from.x << "," << from.y;
    }
}

TEST(CopyBlock, ClipsHugeRectanglesAndEmptyBitmaps)
{
    const Bitmap photo = MakePattern(10, 8, 1);
    const Bitmap entry = MakePattern(10, 8, 2);

    // A source starting at -1 drops its first column together with its destination.
    Bitmap back = entry;
    CopyBlock(back, Rect{0, 0, 3, 1}, photo, Point{-1, 0});
    EXPECT_EQ(back.At(0, 0), entry.At(0, 0));
    EXPECT_EQ(back.At(1, 0), photo.At(0, 0));
    EXPECT_EQ(back.At(2, 0), photo.At(1, 0));

    // Sizes near the limit of int are clipped without overflowing.
    back = entry;
    CopyBlock(back, Rect{2, 3, 0x7FFFFFFF, 0x7FFFFFFF}, photo, Point{0, 0});
    EXPECT_EQ(back.At(2, 3), photo.At(0, 0));
    EXPECT_EQ(back.At(9, 7), photo.At(7, 4));
    EXPECT_EQ(back.At(1, 3), entry.At(1, 3));

    Bitmap empty;
    CopyBlock(empty, Rect{0, 0, 5, 5}, photo, Point{0, 0});
    back = entry;
    CopyBlock(back, Rect{0, 0, 5, 5}, Bitmap{}, Point{0, 0});
    EXPECT_EQ(back, entry);
}

TEST(CopyBlock, BlocksTooLargeForTheCacheCopyTheSamePixels)
{
    // 2100 x 2050 pixels is over 16 MB, the size from which a copy writes around the cache;
    // the rectangles start on every alignment of the source and the destination.
    const Bitmap photo = MakePattern(2100, 2050, 1);
    const Bitmap entry = MakePattern(2100, 2050, 2);
    struct Case {
        Rect to;
        Point from;
    };
    for (const Case& c : {Case{Rect{0, 0, 2100, 2050}, Point{0, 0}}, Case{Rect{1, 0, 2099, 2050}, Point{0, 0}},
                          Case{Rect{0, 3, 2097, 2047}, Point{3, 0}}, Case{Rect{-2, -1, 2103, 2052}, Point{1, 2}},
                          Case{Rect{2, 1, 2100, 2050}, Point{-1, 0}}}) {
        Bitmap expected = entry;
        Bitmap actual = entry;
        ReferenceCopy(expected, c.to, photo, c.from);
        CopyBlock(actual, c.to, photo, c.from);
        ASSERT_TRUE(actual == expected) << "to " << c.to.x << "," << c.to.y << " from " << c.from.x << "," << c.from.y;
    }
}

TEST(CopyBlock, WithinOneBitmapActsAsThroughABuffer)
{
    TestRandom random(11);
    for (int n = 0; n < 500; ++n) {
        const Rect to = RandomRect(random);
        const Point from{random.Between(-10, 30), random.Between(-10, 30)};
        Bitmap actual = MakePattern(33, 27, 3);
        Bitmap expected = actual;
        const Bitmap source = actual;
        ReferenceCopy(expected, to, source, from);
        CopyBlock(actual, to, actual, from);
        ASSERT_EQ(actual, expected);
    }
}

TEST(StretchCopy, EqualSizesAreTheBlockCopy)
{
    const Bitmap photo = MakePattern(31, 17, 1);
    TestRandom random(3);
    for (int n = 0; n < 1000; ++n) {
        const Rect to = RandomRect(random);
        const Rect from{random.Between(-40, 40), random.Between(-40, 40), to.width, to.height};
        Bitmap expected = MakePattern(25, 19, 2);
        Bitmap actual = expected;
        ReferenceCopy(expected, to, photo, Point{from.x, from.y});
        StretchCopy(actual, to, photo, from);
        ASSERT_EQ(actual, expected);
    }
}

TEST(StretchSourceIndex, PicksTheSourcePixelUnderEachDestinationCentre)
{
    // Enlarging 2 -> 5: 0 0 1 1 1 (centre 2.5/5 * 2 = 1 exactly goes to 1).
    const std::vector<int> up{0, 0, 1, 1, 1};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(StretchSourceIndex(x, 2, 5), up[static_cast<std::size_t>(x)]) << x;
    // Reducing 5 -> 2: centres at 1.25 and 3.75.
    EXPECT_EQ(StretchSourceIndex(0, 5, 2), 1);
    EXPECT_EQ(StretchSourceIndex(1, 5, 2), 3);
    // 4000 -> 1024: the first and last pick rows 1 and 3998.
    EXPECT_EQ(StretchSourceIndex(0, 4000, 1024), 1);
    EXPECT_EQ(StretchSourceIndex(1023, 4000, 1024), 3998);
    for (int x = 0; x < 7; ++x) EXPECT_EQ(StretchSourceIndex(x, 7, 7), x);
    // Large lengths need 64-bit products: (2 * 99999 + 1) * 100000 overflows 32 bits.
    EXPECT_EQ(StretchSourceIndex(99999, 100000, 100000), 99999);
    EXPECT_EQ(StretchSourceIndex(59999, 100000, 60000), 99999);
}

TEST(StretchCopy, ScalesByTheIndexMapping)
{
    const Bitmap photo = MakePattern(13, 9, 1);
    for (const Size size : {Size{40, 25}, Size{5, 4}, Size{13, 30}, Size{1, 1}, Size{7, 9}}) {
        Bitmap out(size.width, size.height, kBlack);
        StretchCopy(out, out.Bounds(), photo, photo.Bounds());
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                ASSERT_EQ(out.At(x, y),
                          photo.At(StretchSourceIndex(x, 13, size.width), StretchSourceIndex(y, 9, size.height)))
                    << size.width << "x" << size.height << " at " << x << "," << y;
            }
        }
    }
}

TEST(StretchCopy, ClipsLikeTheBlockCopy)
{
    const Bitmap photo = MakePattern(6, 4, 1);
    const Bitmap entry = MakePattern(10, 10, 2);
    // Doubled into a rectangle that starts outside the destination; the mapping stays relative
    // to the whole destination rectangle.
    Bitmap out = entry;
    StretchCopy(out, Rect{-4, -2, 12, 8}, photo, photo.Bounds());
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const Pixel expected = x < 8 && y < 6 ? photo.At((x + 4) / 2, (y + 2) / 2) : entry.At(x, y);
            ASSERT_EQ(out.At(x, y), expected) << x << "," << y;
        }
    }
    // A source rectangle partly outside the photo writes only where the source is inside.
    out = entry;
    StretchCopy(out, Rect{0, 0, 4, 4}, photo, Rect{-1, 0, 2, 2});
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const Pixel expected = x >= 2 ? photo.At(0, y / 2) : entry.At(x, y);
            ASSERT_EQ(out.At(x, y), expected) << x << "," << y;
        }
    }
    out = entry;
    StretchCopy(out, Rect{0, 0, 0, 5}, photo, photo.Bounds());
    StretchCopy(out, Rect{0, 0, 5, 5}, photo, Rect{0, 0, 0, 4});
    EXPECT_EQ(out, entry);
}

TEST(StretchCopy, WithinOneBitmapReadsTheOriginal)
{
    Bitmap bitmap = MakePattern(8, 8, 1);
    const Bitmap original = bitmap;
    StretchCopy(bitmap, Rect{0, 0, 8, 8}, bitmap, Rect{0, 0, 4, 4});
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) ASSERT_EQ(bitmap.At(x, y), original.At(x / 2, y / 2));
    }
}

TEST(BlendBlock, RoundsEveryChannelValueAndAlphaExactly)
{
    // Source channel x, destination channel y, in all three colour bytes at once; rows of 261
    // pixels so that the pixels after the last whole chunk of a row are covered too.
    constexpr int kWidth = 261;
    Bitmap src(kWidth, 256);
    Bitmap base(kWidth, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const auto v = static_cast<std::uint8_t>(x);
            src.At(x, y) = 0xA5000000u | MakePixel(v, static_cast<std::uint8_t>(255 - v), v);
            base.At(x, y) = (Pixel{v} << 24) | MakePixel(static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(y),
                                                         static_cast<std::uint8_t>(255 - y));
        }
    }
    for (int alpha = 0; alpha <= 255; ++alpha) {
        Bitmap dst = base;
        BlendBlock(dst, dst.Bounds(), src, Point{0, 0}, static_cast<std::uint8_t>(alpha));
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                ASSERT_EQ(dst.At(x, y), ReferenceBlendPixel(src.At(x, y), base.At(x, y), alpha))
                    << "alpha " << alpha << " at " << x << "," << y;
            }
        }
    }
}

TEST(BlendBlock, WithinOneBitmapReadsEachSourcePixelBeforeWritingIt)
{
    for (const Point shift : {Point{3, 0}, Point{-3, 0}, Point{0, 2}, Point{0, -2}, Point{5, 1}}) {
        // Neighbouring pixels far apart in value, so that reading a pixel already blended shows.
        TestRandom random(13);
        Bitmap bitmap(30, 9);
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 30; ++x) bitmap.At(x, y) = static_cast<Pixel>(random.Between(0, 0xFFFFFF));
        }
        const Bitmap original = bitmap;
        const Rect to{4 + shift.x, 3 + shift.y, 20, 4};
        BlendBlock(bitmap, to, bitmap, Point{4, 3}, 77);
        Bitmap expected = original;
        for (int v = 0; v < to.height; ++v) {
            for (int u = 0; u < to.width; ++u) {
                expected.At(to.x + u, to.y + v) =
                    ReferenceBlendPixel(original.At(4 + u, 3 + v), original.At(to.x + u, to.y + v), 77);
            }
        }
        ASSERT_EQ(bitmap, expected) << shift.x << "," << shift.y;
    }
}

TEST(BlendBlock, ClipsLikeTheBlockCopy)
{
    const Bitmap photo(7, 5, kWhite);
    TestRandom random(5);
    for (int n = 0; n < 500; ++n) {
        const Rect to = RandomRect(random);
        const Point from{random.Between(-10, 10), random.Between(-10, 10)};
        Bitmap actual(20, 16, kBlack);
        BlendBlock(actual, to, photo, from, 255);
        Bitmap expected(20, 16, kBlack);
        ReferenceCopy(expected, to, photo, from);
        ASSERT_EQ(actual, expected);
    }
}

TEST(FillRect, FillsOnlyTheInsidePart)
{
    Bitmap bitmap = MakePattern(6, 5, 1);
    const Bitmap before = bitmap;
    FillRect(bitmap, Rect{-2, 3, 4, 10}, 0x00ABCDEF);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(bitmap.At(x, y), x < 2 && y >= 3 ? 0x00ABCDEFu : before.At(x, y)) << x << "," << y;
        }
    }
    FillRect(bitmap, Rect{6, 0, 3, 3}, 0);
    FillRect(bitmap, Rect{0, 0, 0, 3}, 0);
    EXPECT_EQ(bitmap.At(5, 0), before.At(5, 0));
}

TEST(BitmapResize, KeepsTheTopLeftOverlapAndFillsWithTheBrush)
{
    Bitmap bitmap = MakePattern(5, 4, 1);
    const Bitmap original = bitmap;
    bitmap.SetBrushColor(kBlack);
    bitmap.SetWidth(7);
    bitmap.SetHeight(3);
    ASSERT_EQ(bitmap.GetSize(), (Size{7, 3}));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 7; ++x) EXPECT_EQ(bitmap.At(x, y), x < 5 ? original.At(x, y) : kBlack) << x << "," << y;
    }
    bitmap.SetBrushColor(0x00123456);
    bitmap.SetSize(3, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(bitmap.At(x, y), y < 3 ? original.At(x, y) : 0x00123456u);
    }
    bitmap.SetWidth(0);
    EXPECT_TRUE(bitmap.IsEmpty());
    bitmap.SetWidth(2);
    EXPECT_EQ(bitmap.At(1, 4), 0x00123456u);
}
