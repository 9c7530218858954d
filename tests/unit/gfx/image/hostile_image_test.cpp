// Every input that ever broke a reader (found by the fuzzers, see scripts/run-fuzzers.sh) is
// kept in tests/data/hostile/ and must end its load soon, quietly and without a crash: with an
// Error, or for the few listed below, with a picture of the fitted size.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <iterator>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"
#include "unit/test_support/jpeg_bombs.h"
#include "unit/test_support/peak_memory.h"

namespace {

// Damaged files that libjpeg decodes (with warnings) into a picture, grey where data is missing.
const char* const kDecodableFiles[] = {
    "jpeg_multiscan_skip_hang.jpg", // libjpeg's skipping of rows never returned
};

enum class Outcome { Picture, Error, Unfinished };

struct LoadResult {
    Outcome outcome = Outcome::Unfinished;
    Size size{};
    Size wanted{}; // what the fit function returned
};

// Loads on a thread of its own, so that a load that never ends fails the test instead of
// stopping the whole run; such a thread is left behind, spinning, until the process ends.
LoadResult LoadWithin(std::chrono::seconds deadline, const Bytes& bytes, ImageFormat format, Size fitted)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        LoadResult result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, bytes, format, fitted] {
        LoadResult result;
        try {
            const FitFunction fit = [fitted, &result](Size image) {
                result.wanted = Size{std::min(image.width, fitted.width), std::min(image.height, fitted.height)};
                return result.wanted;
            };
            result.size = LoadFittedImage(bytes, format, fit).GetSize();
            result.outcome = Outcome::Picture;
        } catch (const Error&) {
            result.outcome = Outcome::Error;
        }
        const std::lock_guard lock(shared->mutex);
        shared->result = result;
        shared->done.notify_all();
    }).detach();
    std::unique_lock lock(shared->mutex);
    shared->done.wait_for(lock, deadline, [&shared] { return shared->result.outcome != Outcome::Unfinished; });
    return shared->result;
}

TEST(HostileImageTest, EveryKeptInputEndsSoonWithItsKnownOutcome)
{
    // Each load takes well under a second; the hangs these files caused lasted for good.
    constexpr std::chrono::seconds kDeadline{60};
    const std::filesystem::path folder = std::filesystem::path(TOVELIN_TEST_DATA_DIR) / "hostile";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        ASSERT_TRUE(extension == ".jpg" || extension == ".bmp") << entry.path();
        const ImageFormat format = extension == ".jpg" ? ImageFormat::Jpeg : ImageFormat::Bmp;
        const bool decodable = std::find(std::begin(kDecodableFiles), std::end(kDecodableFiles), name) !=
                               std::end(kDecodableFiles);
        SCOPED_TRACE(name);
        const Bytes bytes = ReadFileBytes(entry.path().string());
        for (const Size fitted : {Size{1920, 1080}, Size{7, 5}}) {
            SCOPED_TRACE(std::to_string(fitted.width) + "x" + std::to_string(fitted.height));
            const LoadResult result = LoadWithin(kDeadline, bytes, format, fitted);
            ASSERT_NE(result.outcome, Outcome::Unfinished) << "the load did not end";
            if (decodable) {
                ASSERT_EQ(result.outcome, Outcome::Picture);
                EXPECT_EQ(result.size, result.wanted);
            } else {
                EXPECT_EQ(result.outcome, Outcome::Error);
            }
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}

// Small files that claim a huge progressive picture and hold only empty scans: loading one must
// end with the error of the bound that stops it, as the show loads on its UI thread. The error
// named is the proof that the work was cut short; the time it takes is the benchmarks' to measure.
// The fuzzers never try them: they skip pictures of more than a million pixels.
struct BombCase {
    const char* name;
    JpegBombLayout layout;
    const char* saying;
    std::int64_t maxMegabytes;
};

// Refused from the header, before the decoder allocates for the claimed size, or after little
// work on a smaller picture: under 10 MB.
constexpr std::int64_t kSmallMegabytes = 64;
// Arithmetic coding can fit a flat picture of this size into these bytes, and padding makes a
// Huffman-coded file long enough, so the decoder takes the coefficients of 15000 x 15000 (430 MB,
// within its cap of 512 MB) and walks them until its work runs out.
constexpr std::int64_t kWalkMegabytes = 600;

const BombCase kBombs[] = {
    {"EmptyScans", {15000, 15000, 1000, false, 0}, "too short for a picture of 15000 x 15000", kSmallMegabytes},
    {"OneScanTooMany", {15000, 15000, 1001, false, 0}, "too short", kSmallMegabytes},
    {"EmptyScansPaddedToLookFull", {15000, 15000, 1000, false, 80000}, "Too many scans", kWalkMegabytes},
    {"ArithmeticEmptyScans", {15000, 15000, 1000, true, 0}, "Too many scans", kWalkMegabytes},
    {"ArithmeticOneScanTooMany", {15000, 15000, 1001, true, 0}, "Too many scans", kWalkMegabytes},
    {"ArithmeticMidSizePicture", {2000, 2000, 1000, true, 0}, "Too many scans", kSmallMegabytes},
    {"ArithmeticSmallPicture", {64, 64, 5000, true, 0}, "More than 1000 scans", kSmallMegabytes},
};

void PrintTo(const BombCase& bomb, std::ostream* out)
{
    *out << bomb.name;
}

class JpegBombTest : public ::testing::TestWithParam<BombCase> {};

TEST_P(JpegBombTest, EndsWithTheErrorOfItsBound)
{
    const Bytes bytes = MakeJpegBomb(GetParam().layout);
    ASSERT_LT(bytes.size(), 100'000u);
    const PeakMemoryProbe memory;
    try {
        LoadFittedImage(bytes, ImageFormat::Jpeg, FitTo({1920, 1080}));
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().saying), std::string::npos) << error.what();
    }
    if (memory.Available()) {
        EXPECT_LT(memory.GrowthMegabytes(), GetParam().maxMegabytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegBombTest, ::testing::ValuesIn(kBombs),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
