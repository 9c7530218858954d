#include "app/process_values.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/program_file.h"

TEST(ProcessValues, TheHelpFileLiesBesideTheProgram)
{
    const std::string suffix = std::string(1, PathDelimiter()) + "help.chm";
    ASSERT_TRUE(HelpFilePath.ends_with(suffix)) << HelpFilePath;
    const std::string directory = HelpFilePath.substr(0, HelpFilePath.size() - suffix.size());
    EXPECT_TRUE(std::filesystem::is_directory(directory)) << directory;
    EXPECT_TRUE(ProgramFilePath().starts_with(directory + PathDelimiter())) << ProgramFilePath();
}

TEST(ProcessValues, TheHomePageAddressIsCompletedOnce)
{
    CompleteHomePageAddress();
    const std::string completed = HomePageAddress;
    CompleteHomePageAddress();
    EXPECT_EQ(HomePageAddress, completed);
    const auto at = completed.find("/?come_from=");
    ASSERT_NE(at, std::string::npos) << completed;
    EXPECT_GT(at, 0u) << "a site before the tag";
    EXPECT_GT(completed.size(), at + 12) << "a product tag after it";
    EXPECT_EQ(completed.find("/?come_from=", at + 1), std::string::npos);
    EXPECT_FALSE(SupportAddress.empty());
    EXPECT_NE(SupportAddress.find('@'), std::string::npos);
}
