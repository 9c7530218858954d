#include <gtest/gtest.h>

#include "config/file_version_string.h"

namespace {

TEST(FileVersionStringTest, NumbersAreJoinedWithoutLeadingZeros)
{
    const std::pair<FileVersion, const char*> cases[] = {
        {{2, 5, 1, 1546}, "2.5.1.1546"}, {{1, 0, 0, 7}, "1.0.0.7"}, {{65535, 10, 0, 65535}, "65535.10.0.65535"}};
    for (const auto& [version, text] : cases) EXPECT_EQ(FormatFileVersion(version), text);
}

TEST(FileVersionStringTest, ProgramFileCarriesItsVersionAndOtherFilesNone)
{
    EXPECT_EQ(FileVersionString(TOVELIN_PROGRAM_FILE), "2.5.1.1546");
    EXPECT_EQ(FileVersionString(TOVELIN_TEST_DATA_DIR "/images/cmyk.jpg"), "");
    EXPECT_EQ(FileVersionString(TOVELIN_TEST_DATA_DIR "/no such file"), "");
}

} // namespace
