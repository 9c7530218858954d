#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"

namespace {

constexpr Pixel kRed = MakePixel(255, 0, 0);
constexpr Pixel kGreen = MakePixel(0, 255, 0);
constexpr Pixel kBlue = MakePixel(0, 0, 255);
constexpr Pixel kGrey = MakePixel(128, 128, 128);
constexpr Pixel kYellow = MakePixel(255, 255, 0);

Bitmap Load(const Bytes& bytes, const FitFunction& fit = kFullSize)
{
    return LoadFittedImage(bytes, ImageFormat::Bmp, fit);
}

Bitmap Picture(int width, const std::vector<Pixel>& pixels)
{
    const int height = static_cast<int>(pixels.size()) / width;
    Bitmap bitmap(width, height);
    for (int i = 0; i < static_cast<int>(pixels.size()); ++i) bitmap.At(i % width, i / width) = pixels[i];
    return bitmap;
}

// ---- Files written and decoded by ImageMagick ----

class BmpFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(BmpFileTest, DecodesAsImageMagickDoes)
{
    const std::string file = GetParam();
    EXPECT_TRUE(SamePixels(LoadFittedImage(TestImagePath(file), ImageFormat::Bmp, kFullSize),
                           ReadPnm(TestImagePath(file + ".ppm"))));
}

TEST_P(BmpFileTest, FittedLoadEqualsFullDecodeThenStretch)
{
    const Bytes bytes = ReadFileBytes(TestImagePath(GetParam()));
    const Size image = Load(bytes).GetSize();
    for (const Size fitted : FitSizesFor(image)) {
        SCOPED_TRACE(std::to_string(fitted.width) + "x" + std::to_string(fitted.height));
        EXPECT_TRUE(SamePixels(Load(bytes, FitTo(fitted)), DecodeThenStretch(bytes, ImageFormat::Bmp, fitted)));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BmpFileTest,
                         ::testing::Values("win3_24bit.bmp", "v5_24bit.bmp", "core_8bit.bmp", "win3_8bit_rle.bmp",
                                           "win3_4bit.bmp", "win3_1bit.bmp", "v5_32bit_bitfields.bmp",
                                           "v5_16bit_565.bmp", "v5_16bit_555.bmp"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

// ---- Header kinds and row order ----

// A 3 x 2 picture with a 4-entry palette: the top row red, green, blue; the bottom row
// grey, yellow, red.
const std::vector<Pixel> kPalette = {kRed, kGreen, kBlue, kGrey, kYellow};
const Bitmap kExpected3x2 = Picture(3, {kRed, kGreen, kBlue, kGrey, kYellow, kRed});

BmpLayout PalettePicture(int headerSize, bool topDown)
{
    BmpLayout layout;
    layout.headerSize = headerSize;
    layout.width = 3;
    layout.height = topDown ? -2 : 2;
    layout.bitCount = 8;
    layout.palette = kPalette;
    const std::vector<std::uint32_t> top = {0, 1, 2};
    const std::vector<std::uint32_t> bottom = {3, 4, 0};
    layout.pixels = topDown ? PackRows(8, {top, bottom}) : PackRows(8, {bottom, top});
    return layout;
}

class BmpHeaderKindTest : public ::testing::TestWithParam<int> {};

TEST_P(BmpHeaderKindTest, BottomUpAndTopDownGiveTheSamePicture)
{
    EXPECT_TRUE(SamePixels(Load(WriteBmp(PalettePicture(GetParam(), false))), kExpected3x2));
    if (GetParam() != 12) { // a core header has no sign for its height
        EXPECT_TRUE(SamePixels(Load(WriteBmp(PalettePicture(GetParam(), true))), kExpected3x2));
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BmpHeaderKindTest, ::testing::Values(12, 40, 52, 56, 64, 108, 124));

TEST(BmpReaderTest, TopDownFittedLoadPicksTheSameRows)
{
    BmpLayout layout;
    layout.width = 5;
    layout.height = -7;
    layout.bitCount = 24;
    std::vector<std::vector<std::uint32_t>> rows;
    for (std::uint32_t y = 0; y < 7; ++y) rows.push_back({y * 30, y * 30 + 1, y * 30 + 2, y * 30 + 3, y * 30 + 4});
    layout.pixels = PackRows(24, rows);
    const Bytes topDown = WriteBmp(layout);
    layout.height = 7;
    layout.pixels = PackRows(24, {rows.rbegin(), rows.rend()});
    const Bytes bottomUp = WriteBmp(layout);
    for (const Size fitted : FitSizesFor({5, 7})) {
        EXPECT_TRUE(SamePixels(Load(topDown, FitTo(fitted)), Load(bottomUp, FitTo(fitted))));
        EXPECT_TRUE(SamePixels(Load(topDown, FitTo(fitted)), DecodeThenStretch(topDown, ImageFormat::Bmp, fitted)));
    }
}

// ---- Bit counts ----

BmpLayout OneRow(int width, int bitCount)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = 1;
    layout.bitCount = bitCount;
    return layout;
}

TEST(BmpReaderTest, OneAndFourBitRowsWithPadding)
{
    BmpLayout layout = OneRow(11, 1); // neither depth fills its last byte
    layout.palette = {kBlue, kYellow};
    layout.pixels = PackRows(1, {{1, 0, 0, 1, 1, 0, 1, 0, 0, 0, 1}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(11, {kYellow, kBlue, kBlue, kYellow, kYellow, kBlue, kYellow,
                                                              kBlue, kBlue, kBlue, kYellow})));

    layout.bitCount = 4;
    layout.palette = kPalette;
    layout.pixels = PackRows(4, {{4, 3, 2, 1, 0, 4, 3, 2, 1, 0, 4}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(11, {kYellow, kGrey, kBlue, kGreen, kRed, kYellow, kGrey,
                                                              kBlue, kGreen, kRed, kYellow})));
}

TEST(BmpReaderTest, TwentyFourAndThirtyTwoBitPixels)
{
    BmpLayout layout = OneRow(3, 24);
    layout.pixels = PackRows(24, {{0x123456, 0xABCDEF, 0x000001}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(3, {0x123456, 0xABCDEF, 0x000001})));

    // The fourth byte of an uncompressed 32-bit pixel is unused.
    layout.bitCount = 32;
    layout.pixels = PackRows(32, {{0xFF123456, 0x7FABCDEF, 0x00000001}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(3, {0x123456, 0xABCDEF, 0x000001})));
}

TEST(BmpReaderTest, SixteenBitPixelsAreFiveFiveFiveUnlessMasked)
{
    BmpLayout layout = OneRow(4, 16);
    // Levels widen by repeating their bits: 5-bit 31, 16, 3 and 0 give 255, 132, 24 and 0.
    layout.pixels = PackRows(16, {{31u << 10, 16u << 5, 3, 0x8000}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)),
                           Picture(4, {MakePixel(255, 0, 0), MakePixel(0, 132, 0), MakePixel(0, 0, 24), kBlack})));

    layout.compression = 3;
    layout.masks = {0xF800, 0x07E0, 0x001F};
    // 6-bit green: 63 gives 255, 32 gives 130.
    layout.pixels = PackRows(16, {{0xF800, 63u << 5, 32u << 5, 0xFFFF}});
    const Bitmap expected565 = Picture(4, {kRed, kGreen, MakePixel(0, 130, 0), kWhite});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), expected565));
    for (int headerSize : {52, 56, 108, 124}) {
        layout.headerSize = headerSize;
        EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), expected565)) << headerSize;
    }

    layout.masks = {0x7C00, 0x03E0, 0x001F};
    layout.pixels = PackRows(16, {{31u << 10, 31u << 5, 31, 0x7FFF}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(4, {kRed, kGreen, kBlue, kWhite})));
}

TEST(BmpReaderTest, ThirtyTwoBitMasksInAnyOrderAndWidth)
{
    BmpLayout layout = OneRow(2, 32);
    layout.compression = 3;
    // Red in the low byte, blue in the high one.
    layout.masks = {0x000000FF, 0x0000FF00, 0xFF000000};
    layout.pixels = PackRows(32, {{0x11000022, 0x00003300}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(2, {MakePixel(0x22, 0, 0x11), MakePixel(0, 0x33, 0)})));

    // Ten bits a channel; alpha (compression 6) is ignored.
    layout.compression = 6;
    layout.masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000};
    layout.pixels = PackRows(32, {{0xFFFFFFFF, (512u << 20) | 1023u}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(2, {kWhite, MakePixel(128, 0, 255)})));
}

TEST(BmpReaderTest, ShortPaletteLeavesOtherIndicesBlack)
{
    BmpLayout layout = OneRow(3, 8);
    layout.colorsUsed = 2;
    layout.palette = {kRed, kGreen};
    layout.pixels = PackRows(8, {{1, 0, 200}});
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(3, {kGreen, kRed, kBlack})));

    // A core header has no colour count: the room before the pixel data decides.
    layout.headerSize = 12;
    layout.colorsUsed = 0;
    EXPECT_TRUE(SamePixels(Load(WriteBmp(layout)), Picture(3, {kGreen, kRed, kBlack})));
}

// ---- Run-length encoding ----

BmpLayout RlePicture(int bitCount, int width, int height, Bytes data)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = bitCount;
    layout.compression = bitCount == 8 ? 1 : 2;
    layout.palette = kPalette;
    layout.pixels = std::move(data);
    return layout;
}

TEST(BmpReaderTest, Rle8RunsLiteralsDeltasAndLineEnds)
{
    const Bytes data = {
        2, 0, 0, 3, 1, 2, 3, 0, 0, 0, // bottom row: run of 2, literal of 3 (padded), end of line
        0, 2, 1, 0,                   // delta one to the right
        2, 4,                         // run of 2 from x = 1
        0, 2, 2, 1,                   // delta two right (clipped at the edge) and one row up
        0, 0,                         // end of line: that row stays black
        7, 1,                         // top row: a run of 7 into a row of 5
        0, 1,                         // end of bitmap
    };
    EXPECT_TRUE(SamePixels(Load(WriteBmp(RlePicture(8, 5, 4, data))),
                           Picture(5, {kGreen, kGreen, kGreen, kGreen, kGreen,  //
                                       kBlack, kBlack, kBlack, kBlack, kBlack,  //
                                       kBlack, kYellow, kYellow, kBlack, kBlack, //
                                       kRed, kRed, kGreen, kBlue, kGrey})));
}

TEST(BmpReaderTest, Rle4AlternatesNibbles)
{
    const Bytes data = {
        5, 0x12,             // G B G B G
        0, 0,                // end of line
        0, 3, 0x34, 0x10,    // literal Gy Y G, padded to a 16-bit boundary
        0, 2, 1, 0,          // delta one right
        1, 0x44,             // Y
        0, 1,                // end of bitmap
    };
    EXPECT_TRUE(SamePixels(Load(WriteBmp(RlePicture(4, 5, 2, data))),
                           Picture(5, {kGrey, kYellow, kGreen, kBlack, kYellow,    // top: row 1
                                        kGreen, kBlue, kGreen, kBlue, kGreen})));  // bottom: row 0
}

TEST(BmpReaderTest, RleDataThatEndsEarlyOrRunsPastTheLastRowStaysInside)
{
    // Runs for four rows into a two-row picture, without an end of bitmap.
    const Bytes tooMany = {3, 1, 0, 0, 3, 2, 0, 0, 3, 3, 0, 0, 3, 4, 0, 0};
    EXPECT_TRUE(SamePixels(Load(WriteBmp(RlePicture(8, 3, 2, tooMany))),
                           Picture(3, {kBlue, kBlue, kBlue, kGreen, kGreen, kGreen})));
    // A literal cut off by the end of the file.
    const Bytes cut = {1, 1, 0, 6, 2};
    EXPECT_TRUE(SamePixels(Load(WriteBmp(RlePicture(8, 3, 1, cut))), Picture(3, {kGreen, kBlue, kBlack})));
    // A delta far beyond the bitmap.
    const Bytes farDelta = {1, 1, 0, 2, 255, 255, 1, 2, 0, 1};
    EXPECT_TRUE(SamePixels(Load(WriteBmp(RlePicture(8, 2, 2, farDelta))), Picture(2, {kBlack, kBlack, kGreen, kBlack})));
}

TEST(BmpReaderTest, FittedRleEqualsFullDecodeThenStretch)
{
    // Rows of runs, literals and deltas in a 37 x 23 picture.
    Bytes data;
    for (int row = 0; row < 23; ++row) {
        if (row % 5 == 3) {
            data.insert(data.end(), {0, 2, static_cast<std::uint8_t>(row % 7), 0});
        }
        data.insert(data.end(), {static_cast<std::uint8_t>(row % 9 + 1), static_cast<std::uint8_t>(row % 5)});
        data.insert(data.end(), {0, 5, 1, 2, 3, 4, 0, 0});
        data.insert(data.end(), {static_cast<std::uint8_t>(row + 3), static_cast<std::uint8_t>((row + 2) % 5)});
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    for (const bool topDown : {false, true}) {
        const Bytes bmp = WriteBmp(RlePicture(8, 37, topDown ? -23 : 23, data));
        for (const Size fitted : FitSizesFor({37, 23})) {
            SCOPED_TRACE(std::to_string(fitted.width) + "x" + std::to_string(fitted.height));
            EXPECT_TRUE(SamePixels(Load(bmp, FitTo(fitted)), DecodeThenStretch(bmp, ImageFormat::Bmp, fitted)));
        }
    }
}

// ---- Hostile and broken files ----

void ExpectBmpError(const Bytes& bytes, const char* why)
{
    bool fitCalled = false;
    EXPECT_THROW(Load(bytes,
                      [&](Size s) {
                          fitCalled = true;
                          return s;
                      }),
                 Error)
        << why;
    EXPECT_FALSE(fitCalled) << why;
}

void PatchU16(Bytes& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PatchU32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(BmpReaderTest, RejectsBrokenHeaders)
{
    const Bytes good = WriteBmp(PalettePicture(40, false));
    ASSERT_NO_THROW(Load(good));
    const auto patched = [&](std::size_t at, std::uint32_t value) {
        Bytes bytes = good;
        PatchU32(bytes, at, value);
        return bytes;
    };
    ExpectBmpError({}, "empty");
    ExpectBmpError(Bytes(good.begin(), good.begin() + 17), "cut in the file header");
    ExpectBmpError(Bytes(good.begin(), good.begin() + 40), "cut in the info header");
    ExpectBmpError(ReadFileBytes(TestImagePath("grey.jpg")), "not a BMP");
    ExpectBmpError(patched(14, 41), "unknown header size");
    ExpectBmpError(patched(18, 0), "width 0");
    ExpectBmpError(patched(18, 0x80000000u), "negative width");
    ExpectBmpError(patched(22, 0), "height 0");
    ExpectBmpError(patched(22, 0x80000000u), "height that cannot be negated");
    Bytes twoBits = good;
    PatchU16(twoBits, 28, 2);
    ExpectBmpError(twoBits, "2 bits per pixel");
    ExpectBmpError(patched(30, 4), "embedded JPEG");
    ExpectBmpError(patched(30, 2), "RLE4 with 8 bits per pixel");
    ExpectBmpError(patched(30, 3), "bit fields with 8 bits per pixel");
    ExpectBmpError(patched(10, 20), "pixel data inside the header");
    ExpectBmpError(patched(10, static_cast<std::uint32_t>(good.size())), "pixel data after the end");
    ExpectBmpError(Bytes(good.begin(), good.end() - 4), "last row cut short");
}

TEST(BmpReaderTest, OnlyTheLastRowMayLackItsPadding)
{
    Bytes bytes = WriteBmp(PalettePicture(40, false));
    bytes.pop_back(); // 3 pixels, 1 padding byte
    EXPECT_TRUE(SamePixels(Load(bytes), kExpected3x2));
}

TEST(BmpReaderTest, RejectsLyingSizesBeforeAllocating)
{
    BmpLayout layout;
    layout.width = 100000;
    layout.height = 100000;
    layout.bitCount = 24;
    layout.pixels.resize(64);
    ExpectBmpError(WriteBmp(layout), "100000 x 100000");
    layout.width = 16000;
    layout.height = -16000;
    ExpectBmpError(WriteBmp(layout), "16000 x 16000 in a small file");
    layout.width = 0x7FFFFFFF;
    layout.height = 1;
    ExpectBmpError(WriteBmp(layout), "2^31 - 1 x 1");
    layout.headerSize = 12;
    layout.width = 65535;
    layout.height = 65535;
    ExpectBmpError(WriteBmp(layout), "core header 65535 x 65535");
}

TEST(BmpReaderTest, FittedLoadOfAnRleBitmapClaimingManyRowsStaysSmall)
{
    // 16384 x 16384 is allowed, and RLE data may be tiny: only the fitted picture is allocated.
    // The delta reaches source row 16256, which fitted row 63 shows.
    const Bitmap loaded =
        Load(WriteBmp(RlePicture(8, 16384, 16384, {0, 2, 0, 127, 255, 1, 0, 1})), FitTo({64, 64}));
    EXPECT_EQ(loaded.GetSize(), (Size{64, 64}));
    EXPECT_EQ(loaded.At(0, 63), kGreen);
    EXPECT_EQ(loaded.At(1, 63), kBlack);
}

} // namespace
