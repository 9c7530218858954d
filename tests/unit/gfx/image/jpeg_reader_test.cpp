#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>
// jpeglib.h needs FILE and size_t declared first (above).
#include <jpeglib.h>

#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"
#include "unit/test_support/jpeg_encoder.h"

namespace {

struct JpegCase {
    const char* file;
    const char* reference; // djpeg's decoding of it
};

const JpegCase kJpegCases[] = {
    {"colour_420.jpg", "colour_420.ppm"},
    {"colour_422.jpg", "colour_422.ppm"},
    {"colour_444_restart.jpg", "colour_444_restart.ppm"},
    {"colour_rgb.jpg", "colour_rgb.ppm"},
    {"colour_arithmetic.jpg", "colour_arithmetic.ppm"},
    {"grey.jpg", "grey.pgm"},
    {"progressive.jpg", "progressive.ppm"},
    {"cmyk.jpg", "cmyk.ppm"},
    {"ycck.jpg", "ycck.ppm"},
    {"tall_420.jpg", "tall_420.ppm"},
    {"tall_progressive.jpg", "tall_progressive.ppm"},
    {"tall_grey.jpg", "tall_grey.pgm"},
    {"tall_cmyk.jpg", "tall_cmyk.ppm"},
    {"tall_ycck.jpg", "tall_ycck.ppm"},
    {"tiny_grey.jpg", "tiny_grey.pgm"},
};

class JpegFileTest : public ::testing::TestWithParam<JpegCase> {};

TEST_P(JpegFileTest, FullSizeDecodeEqualsDjpeg)
{
    const Bitmap expected = ReadPnm(TestImagePath(GetParam().reference));
    const Bitmap decoded = LoadFittedImage(TestImagePath(GetParam().file), ImageFormat::Jpeg, kFullSize);
    EXPECT_TRUE(SamePixels(decoded, expected));
}

TEST_P(JpegFileTest, FittedLoadEqualsFullDecodeThenStretch)
{
    const Bytes bytes = ReadFileBytes(TestImagePath(GetParam().file));
    const Size image = LoadFittedImage(bytes, ImageFormat::Jpeg, kFullSize).GetSize();
    for (const Size fitted : FitSizesFor(image)) {
        SCOPED_TRACE(std::to_string(fitted.width) + "x" + std::to_string(fitted.height));
        Size asked{};
        const Bitmap loaded = LoadFittedImage(bytes, ImageFormat::Jpeg, [&](Size s) {
            asked = s;
            return fitted;
        });
        EXPECT_EQ(asked, image);
        EXPECT_TRUE(SamePixels(loaded, DecodeThenStretch(bytes, ImageFormat::Jpeg, fitted)));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegFileTest, ::testing::ValuesIn(kJpegCases),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

// The offset of the first frame header's height field: baseline, extended or progressive, with
// Huffman or arithmetic coding.
std::size_t FrameSizeOffset(const Bytes& jpeg)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] != 0xFF) continue;
        const int marker = jpeg[i + 1];
        if ((marker >= 0xC0 && marker <= 0xC2) || marker == 0xC9 || marker == 0xCA) return i + 5;
    }
    ADD_FAILURE() << "no frame header";
    return 0;
}

Bytes WithFrameSize(Bytes jpeg, int width, int height)
{
    const std::size_t at = FrameSizeOffset(jpeg);
    jpeg[at] = static_cast<std::uint8_t>(height >> 8);
    jpeg[at + 1] = static_cast<std::uint8_t>(height);
    jpeg[at + 2] = static_cast<std::uint8_t>(width >> 8);
    jpeg[at + 3] = static_cast<std::uint8_t>(width);
    return jpeg;
}

void ExpectJpegError(const Bytes& bytes, const FitFunction& fit = kFullSize, const std::string& saying = "")
{
    try {
        LoadFittedImage(bytes, ImageFormat::Jpeg, fit);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(saying), std::string::npos) << error.what();
    }
}

TEST(JpegReaderTest, RejectsWhatIsNoJpeg)
{
    ExpectJpegError({});
    ExpectJpegError({0xFF});
    ExpectJpegError({0xFF, 0xD8});
    ExpectJpegError(ReadFileBytes(TestImagePath("win3_24bit.bmp")), kFullSize, "Not a JPEG file");
}

TEST(JpegReaderTest, RejectsHeadersCutShort)
{
    const Bytes whole = ReadFileBytes(TestImagePath("colour_420.jpg"));
    const std::size_t frame = FrameSizeOffset(whole);
    for (std::size_t length : {std::size_t{2}, std::size_t{20}, frame, frame + 8}) {
        SCOPED_TRACE(length);
        ExpectJpegError(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
    }
}

TEST(JpegReaderTest, RejectsAHugeClaimedSizeBeforeAllocating)
{
    Bytes bytes = WithFrameSize(ReadFileBytes(TestImagePath("tiny_grey.jpg")), 65500, 65500);
    bytes.resize(200);
    bool fitCalled = false;
    const FitFunction fit = [&](Size s) {
        fitCalled = true;
        return s;
    };
    ExpectJpegError(bytes, fit, "too large");
    EXPECT_FALSE(fitCalled);
}

enum class ClaimOutcome { Grey, Loaded, Refused };

struct ClaimedSizeCase {
    const char* file;
    Size claimed;
    std::size_t length; // the file is cut, or padded with zeros, to this
    ClaimOutcome outcome;
};

// Like a file cut short: what is missing decodes as mid grey (or as whatever arithmetic decoding
// makes of nothing), and only the fitted picture is held. But Huffman coding spends at least a
// bit on every 8 x 8 block of a complete file, and a file with less than an eighth of that claims
// a size that it is not. Arithmetic coding has no such floor.
const ClaimedSizeCase kClaimedSizeCases[] = {
    {"tiny_grey.jpg", {1000, 600}, 200, ClaimOutcome::Grey},          // 9375 blocks
    {"tiny_grey.jpg", {1400, 600}, 200, ClaimOutcome::Refused},       // 13125 blocks
    {"tiny_grey.jpg", {16000, 16000}, 200, ClaimOutcome::Refused},    // 4 million blocks
    {"tiny_grey.jpg", {16000, 16000}, 70'000, ClaimOutcome::Grey},    //
    {"colour_420.jpg", {2000, 1000}, 700, ClaimOutcome::Refused},      // 47000 blocks
    {"colour_arithmetic.jpg", {2000, 1000}, 700, ClaimOutcome::Loaded}, //
};

TEST(JpegReaderTest, SizeClaimedBeyondTheDataIsGreyUnlessClearlyTooShort)
{
    for (const ClaimedSizeCase& c : kClaimedSizeCases) {
        const std::string claimed = std::to_string(c.claimed.width) + " x " + std::to_string(c.claimed.height);
        SCOPED_TRACE(std::string(c.file) + " " + claimed + " in " + std::to_string(c.length));
        Bytes bytes = WithFrameSize(ReadFileBytes(TestImagePath(c.file)), c.claimed.width, c.claimed.height);
        bytes.resize(c.length);
        if (c.outcome == ClaimOutcome::Refused) {
            ExpectJpegError(bytes, FitTo({192, 108}), "The file is too short for a picture of " + claimed);
            continue;
        }
        const Bitmap loaded = LoadFittedImage(bytes, ImageFormat::Jpeg, FitTo({192, 108}));
        ASSERT_EQ(loaded.GetSize(), (Size{192, 108}));
        if (c.outcome == ClaimOutcome::Grey) {
            EXPECT_EQ(loaded.At(191, 107), MakePixel(128, 128, 128));
        }
    }
}

TEST(JpegReaderTest, ProgressiveFileClaimingGigabytesOfCoefficientsFails)
{
    Bytes bytes = WithFrameSize(ReadFileBytes(TestImagePath("progressive.jpg")), 16000, 16000);
    // Long enough for the size it claims, so that the decoder's memory cap is what stops it.
    bytes.resize(300);
    bytes.resize(1 << 20);
    ExpectJpegError(bytes, FitTo({192, 108}), "MB to decode");
}

TEST(JpegReaderTest, TruncatedDataShowsThePartThatIsThere)
{
    const Bytes whole = ReadFileBytes(TestImagePath("tall_420.jpg"));
    const Bitmap full = LoadFittedImage(whole, ImageFormat::Jpeg, kFullSize);
    const Bitmap cut = LoadFittedImage(Bytes(whole.begin(), whole.begin() + whole.size() / 2), ImageFormat::Jpeg,
                                       kFullSize);
    ASSERT_EQ(cut.GetSize(), full.GetSize());
    EXPECT_EQ(std::memcmp(cut.Row(0), full.Row(0), cut.Stride() * 16), 0);
    EXPECT_NE(cut, full);
}

// A textured picture through libjpeg's encoder with its standard progressive script: ten scans
// for colour, six for grey, which walk the blocks of the picture about five and six times over.
Bytes EncodeProgressive(int width, int height, int components)
{
    // The texture as samples in a row: its index in the row, not the pixel's column.
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.components = components;
    recipe.sample = [components](int x, int y, int c) {
        const int i = x * components + c;
        return (i * 7 + y * 3 + (i * y) % 37 * 5) & 0xFF;
    };
    recipe.progressive = true;
    return EncodeJpeg(recipe);
}

TEST(JpegReaderTest, ProgressivePhotosLoadWithinTheWorkBudget)
{
    // Large enough that the budget, not its floor for small pictures, is what they meet.
    for (const int components : {1, 3}) {
        SCOPED_TRACE(components);
        const Bytes bytes = EncodeProgressive(1536, 1024, components);
        EXPECT_EQ(LoadFittedImage(bytes, ImageFormat::Jpeg, FitTo({192, 108})).GetSize(), (Size{192, 108}));
    }
}

TEST(JpegReaderTest, FailsOnAFloodOfScans)
{
    // Repeating the last scan of a progressive file gives a file of thousands of scans.
    Bytes bytes = ReadFileBytes(TestImagePath("progressive.jpg"));
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) lastScan = i;
    }
    ASSERT_GT(lastScan, 0u);
    const Bytes scan(bytes.begin() + static_cast<std::ptrdiff_t>(lastScan), bytes.end() - 2);
    Bytes flood(bytes.begin(), bytes.end() - 2);
    for (int i = 0; i < 1500; ++i) flood.insert(flood.end(), scan.begin(), scan.end());
    flood.push_back(0xFF);
    flood.push_back(0xD9);
    ExpectJpegError(flood, kFullSize, "scans");
}

} // namespace
