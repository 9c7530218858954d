#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"

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

// The offset of the first baseline or progressive frame header's height field.
std::size_t FrameSizeOffset(const Bytes& jpeg)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) return i + 5;
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

TEST(JpegReaderTest, SizeClaimedBeyondTheDataGivesAFittedGreyPicture)
{
    // Like a file cut short: what is missing decodes as mid grey, and only the fitted picture
    // is held.
    Bytes bytes = WithFrameSize(ReadFileBytes(TestImagePath("tiny_grey.jpg")), 16000, 16000);
    bytes.resize(200);
    const Bitmap loaded = LoadFittedImage(bytes, ImageFormat::Jpeg, FitTo({192, 108}));
    ASSERT_EQ(loaded.GetSize(), (Size{192, 108}));
    EXPECT_EQ(loaded.At(191, 107), MakePixel(128, 128, 128));
}

TEST(JpegReaderTest, ProgressiveFileClaimingGigabytesOfCoefficientsFails)
{
    Bytes bytes = WithFrameSize(ReadFileBytes(TestImagePath("progressive.jpg")), 16000, 16000);
    bytes.resize(300);
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
