#include "slideshow/fit_size.h"

#include <gtest/gtest.h>

TEST(FitSize, ScalesLargePhotosDownAndKeepsSmallOnes)
{
    const Size screen{1024, 768};
    EXPECT_EQ(FitSize({2048, 1536}, screen), (Size{1024, 768}));
    EXPECT_EQ(FitSize({4000, 1000}, screen), (Size{1024, 256}));
    EXPECT_EQ(FitSize({1000, 4000}, screen), (Size{192, 768}));
    EXPECT_EQ(FitSize({800, 600}, screen), (Size{800, 600}));
    EXPECT_EQ(FitSize({1024, 768}, screen), (Size{1024, 768}));
    EXPECT_EQ(FitSize({1025, 768}, screen), (Size{1024, 767}));
    EXPECT_EQ(FitSize({1024, 769}, screen), (Size{1022, 768}));
    EXPECT_EQ(FitSize({3000, 100}, Size{1920, 1080}), (Size{1920, 64}));
}

TEST(FitSize, TruncatesTheProductOfTheQuotient)
{
    // 1025 / 2000 * 1920 is 983.99999999999989 in double precision: the quotient is formed
    // first, so the result is 983 where exact arithmetic would give 984.
    EXPECT_EQ(FitSize({2000, 1025}, Size{1920, 1080}), (Size{1920, 983}));
    // Equal aspect ratios take the first branch: full height.
    EXPECT_EQ(FitSize({1280, 960}, Size{1024, 768}), (Size{1024, 768}));
    EXPECT_EQ(FitSize({1366, 768}, Size{1024, 768}), (Size{1024, 575}));
}

TEST(FitSize, ExtremeShapesKeepAtLeastOnePixel)
{
    const Size screen{1024, 768};
    EXPECT_EQ(FitSize({1, 100000}, screen), (Size{1, 768}));
    EXPECT_EQ(FitSize({100000, 1}, screen), (Size{1024, 1}));
    EXPECT_EQ(FitSize({2, 100000}, screen), (Size{1, 768}));
    EXPECT_EQ(FitSize({1, 768}, screen), (Size{1, 768}));
    EXPECT_EQ(FitSize({300, 100000}, screen), (Size{2, 768}));
    EXPECT_EQ(FitSize({0x7FFFFFFF, 0x7FFFFFFF}, screen), (Size{768, 768}));
}

TEST(FitSize, EmptyInputsGiveNoPicture)
{
    EXPECT_EQ(FitSize({0, 0}, Size{1024, 768}), (Size{0, 0}));
    EXPECT_EQ(FitSize({0, 5000}, Size{1024, 768}), (Size{0, 0}));
    EXPECT_EQ(FitSize({5000, 10}, Size{0, 0}), (Size{0, 0}));
}
