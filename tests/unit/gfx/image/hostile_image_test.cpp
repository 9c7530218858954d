// Every input that ever broke a reader (found by the fuzzers, see scripts/run-fuzzers.sh) is
// kept in tests/data/hostile/ and must give an Error, quietly and without a crash.
#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"
#include "unit/test_support/jpeg_bombs.h"
#include "unit/test_support/peak_memory.h"

namespace {

TEST(HostileImageTest, EveryKeptInputIsAnError)
{
    const std::filesystem::path folder = std::filesystem::path(TOVELIN_TEST_DATA_DIR) / "hostile";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        ASSERT_TRUE(extension == ".jpg" || extension == ".bmp") << entry.path();
        const ImageFormat format = extension == ".jpg" ? ImageFormat::Jpeg : ImageFormat::Bmp;
        SCOPED_TRACE(entry.path().filename().string());
        const Bytes bytes = ReadFileBytes(entry.path().string());
        for (const Size fitted : {Size{1920, 1080}, Size{7, 5}}) {
            const FitFunction fit = [fitted](Size image) {
                return Size{std::min(image.width, fitted.width), std::min(image.height, fitted.height)};
            };
            EXPECT_THROW(LoadFittedImage(bytes, format, fit), Error);
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}

// Small files that claim a huge progressive picture and hold only empty scans: loading one must
// end soon with an error, as the show loads on its UI thread. The fuzzers never try them: they
// skip pictures of more than a million pixels.
struct BombCase {
    const char* name;
    JpegBombLayout layout;
    const char* saying;
    int maxSeconds;
    std::int64_t maxMegabytes;
};

// Refused from the header, before the decoder allocates for the claimed size, or after little
// work on a smaller picture: measured at 10 to 40 ms and under 10 MB.
constexpr int kQuickSeconds = 2;
constexpr std::int64_t kSmallMegabytes = 64;
// Arithmetic coding can fit a flat picture of this size into these bytes, and padding makes a
// Huffman-coded file long enough, so the decoder takes the coefficients of 15000 x 15000 (430 MB,
// within its cap of 512 MB) and walks them until its work runs out: measured at 0.5 to 1 s,
// about what one genuine scan of that size costs, against 20 to 70 s before the work was bounded.
constexpr int kWalkSeconds = 10;
constexpr std::int64_t kWalkMegabytes = 600;

const BombCase kBombs[] = {
    {"EmptyScans", {15000, 15000, 1000, false, 0}, "too short for a picture of 15000 x 15000", kQuickSeconds,
     kSmallMegabytes},
    {"OneScanTooMany", {15000, 15000, 1001, false, 0}, "too short", kQuickSeconds, kSmallMegabytes},
    {"EmptyScansPaddedToLookFull", {15000, 15000, 1000, false, 80000}, "Too many scans", kWalkSeconds,
     kWalkMegabytes},
    {"ArithmeticEmptyScans", {15000, 15000, 1000, true, 0}, "Too many scans", kWalkSeconds, kWalkMegabytes},
    {"ArithmeticOneScanTooMany", {15000, 15000, 1001, true, 0}, "Too many scans", kWalkSeconds, kWalkMegabytes},
    {"ArithmeticMidSizePicture", {2000, 2000, 1000, true, 0}, "Too many scans", kQuickSeconds, kSmallMegabytes},
    {"ArithmeticSmallPicture", {64, 64, 5000, true, 0}, "More than 1000 scans", kQuickSeconds, kSmallMegabytes},
};

void PrintTo(const BombCase& bomb, std::ostream* out)
{
    *out << bomb.name;
}

class JpegBombTest : public ::testing::TestWithParam<BombCase> {};

TEST_P(JpegBombTest, EndsSoonWithAnError)
{
    const Bytes bytes = MakeJpegBomb(GetParam().layout);
    ASSERT_LT(bytes.size(), 100'000u);
    const PeakMemoryProbe memory;
    const auto start = std::chrono::steady_clock::now();
    try {
        LoadFittedImage(bytes, ImageFormat::Jpeg, FitTo({1920, 1080}));
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().saying), std::string::npos) << error.what();
    }
    // Wide margins: CI machines are loaded, and sanitized builds are slower.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(GetParam().maxSeconds));
    if (memory.Available()) {
        EXPECT_LT(memory.GrowthMegabytes(), GetParam().maxMegabytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegBombTest, ::testing::ValuesIn(kBombs),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
