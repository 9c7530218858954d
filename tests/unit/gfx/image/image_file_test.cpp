#include <filesystem>
#include <random>
#include <stdexcept>
#include <stop_token>
#include <string>

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"

namespace {

struct FormatCase {
    const char* file;
    ImageFormat format;
};

class ImageFileTest : public ::testing::TestWithParam<FormatCase> {
protected:
    std::string Path() const { return TestImagePath(GetParam().file); }
    ImageFormat Format() const { return GetParam().format; }
};

TEST_P(ImageFileTest, FileAndMemoryGiveTheSamePicture)
{
    const Bytes bytes = ReadFileBytes(Path());
    for (const Size fitted : {Size{45, 31}, Size{20, 9}}) {
        EXPECT_TRUE(SamePixels(LoadFittedImage(Path(), Format(), FitTo(fitted)),
                               LoadFittedImage(bytes, Format(), FitTo(fitted))));
    }
}

TEST_P(ImageFileTest, AnEmptyFitGivesAnEmptyPicture)
{
    for (const Size fitted : {Size{0, 0}, Size{0, 12}, Size{12, 0}}) {
        const Bitmap loaded = LoadFittedImage(Path(), Format(), FitTo(fitted));
        EXPECT_EQ(loaded.GetSize(), fitted);
    }
}

TEST_P(ImageFileTest, UnusableFitsAreErrors)
{
    EXPECT_THROW(LoadFittedImage(Path(), Format(), FitTo({-1, 10})), Error);
    EXPECT_THROW(LoadFittedImage(Path(), Format(), FitTo({10, -1})), Error);
    EXPECT_THROW(LoadFittedImage(Path(), Format(), FitTo({70000, 70000})), Error);
}

TEST_P(ImageFileTest, AnErrorFromFitPassesThrough)
{
    const FitFunction failing = [](Size) -> Size { throw std::runtime_error("no screen"); };
    EXPECT_THROW(LoadFittedImage(ReadFileBytes(Path()), Format(), failing), std::runtime_error);
}

TEST_P(ImageFileTest, AMissingFileIsAnErrorNamingIt)
{
    const std::string missing = TestImagePath("no such photo") + (Format() == ImageFormat::Jpeg ? ".jpg" : ".bmp");
    try {
        LoadFittedImage(missing, Format(), kFullSize);
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()).find("\"" + missing + "\": Cannot open the file"), 0u) << error.what();
    }
}

// A new empty folder in the temporary folder, removed with all it holds.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::random_device random;
        do {
            m_Path = std::filesystem::temp_directory_path() / ("tovelin-images-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(m_Path));
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::string operator/(const std::string& name) const { return (m_Path / name).string(); }

private:
    std::filesystem::path m_Path;
};

std::string LoadError(const std::string& path, ImageFormat format)
{
    try {
        LoadFittedImage(path, format, kFullSize);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

TEST_P(ImageFileTest, AFolderNamedLikeAPhotoIsNotARegularFile)
{
    const TemporaryFolder temporary;
    const std::string folder = temporary / (Format() == ImageFormat::Jpeg ? "x.jpg" : "x.bmp");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(LoadError(folder, Format()), "\"" + folder + "\": Not a regular file");
}

TEST_P(ImageFileTest, AFileOfTheOtherFormatIsAnError)
{
    const char* other = Format() == ImageFormat::Jpeg ? "win3_24bit.bmp" : "colour_420.jpg";
    EXPECT_THROW(LoadFittedImage(TestImagePath(other), Format(), kFullSize), Error);
}

// The fit is asked once the header is read: a stop requested then ends the load before its rows,
// and in a file of several scans before the scans are read.
TEST_P(ImageFileTest, AStopRequestedDuringTheLoadEndsIt)
{
    std::stop_source stop;
    const FitFunction stopping = [&stop](Size image) {
        stop.request_stop();
        return image;
    };
    EXPECT_THROW(LoadFittedImage(Path(), Format(), stopping, stop.get_token()), LoadStopped);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageFileTest,
                         ::testing::Values(FormatCase{"colour_420.jpg", ImageFormat::Jpeg},
                                           FormatCase{"progressive.jpg", ImageFormat::Jpeg},
                                           FormatCase{"win3_24bit.bmp", ImageFormat::Bmp},
                                           FormatCase{"win3_8bit_rle.bmp", ImageFormat::Bmp}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
