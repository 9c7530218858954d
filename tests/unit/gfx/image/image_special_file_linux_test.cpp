// The image readers take regular files only: a FIFO named like a photo would otherwise block the
// show forever in open() or read(), waiting for a writer that never comes.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"

namespace {

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::string pattern = std::filesystem::temp_directory_path() / "tovelin-images-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) m_Path = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        if (!m_Path.empty()) std::filesystem::remove_all(m_Path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& Path() const { return m_Path; }

private:
    std::string m_Path;
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

struct SpecialFileCase {
    const char* name; // in the temporary folder, or an absolute path
    bool fifo;
    ImageFormat format;
};

const SpecialFileCase kSpecialFiles[] = {
    {"x.jpg", true, ImageFormat::Jpeg},
    {"x.bmp", true, ImageFormat::Bmp},
    {"/dev/zero", false, ImageFormat::Jpeg},
    {"/dev/null", false, ImageFormat::Bmp},
};

TEST(ImageSpecialFileTest, IsRefusedAtOnceAsNotARegularFile)
{
    const TemporaryFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    for (const SpecialFileCase& c : kSpecialFiles) {
        const std::string path = c.fifo ? folder.Path() + "/" + c.name : c.name;
        SCOPED_TRACE(path);
        if (c.fifo) {
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        }
        auto loading = std::async(std::launch::async, [&path, &c] { return LoadError(path, c.format); });
        if (loading.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
            ADD_FAILURE() << "still waiting after 10 s";
            // A writer that comes and goes lets the reader go on, to an end of file.
            const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) close(writer);
        }
        EXPECT_EQ(loading.get(), "\"" + path + "\": Not a regular file");
    }
}

} // namespace
