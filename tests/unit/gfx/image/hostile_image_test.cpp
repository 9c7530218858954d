// Every input that ever broke a reader (found by the fuzzers, see scripts/run-fuzzers.sh) is
// kept in tests/data/hostile/ and must give an Error, quietly and without a crash.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"

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

} // namespace
