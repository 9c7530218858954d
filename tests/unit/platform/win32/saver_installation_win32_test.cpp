// The Windows saver installation's system calls and the version reader, on real files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/file_version.h"
#include "platform/saver_installation.h"
#include "platform/win32/windows_header.h"
#include "unit/test_support/temporary_tree.h"

namespace {

// The current directory moved for a scope.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::filesystem::path& to) : m_Previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(to);
    }
    ~CurrentDirectory()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_Previous, ignored);
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::filesystem::path m_Previous;
};

bool IsCleanText(const std::string& text) { return !text.empty() && std::strlen(text.c_str()) == text.size(); }

} // namespace

TEST(SaverInstallationWin32, SystemDirectoriesAreExistingDirectoriesWithoutPadding)
{
    const auto installation = CreateSystemSaverInstallation();
    for (const auto& [name, path] : {std::pair{"system", installation->SystemDirectory()},
                                     std::pair{"windows", installation->WindowsDirectory()}}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(IsCleanText(path)) << "'" << path << "' (" << path.size() << " chars)";
        EXPECT_TRUE(std::filesystem::is_directory(path)) << path;
    }
}

TEST(SaverInstallationWin32, ShortPathNamesResolveFullAndBareNamesAndNothingForMissingFiles)
{
    const TemporaryTree tree;
    tree.File("A long photo file name.jpeg");
    const CurrentDirectory inTree(tree.Root());
    const auto installation = CreateSystemSaverInstallation();
    struct Case {
        std::string path;
        bool found;
    };
    for (const Case& c : {Case{tree.Path("A long photo file name.jpeg"), true},
                          Case{"A long photo file name.jpeg", true}, Case{"no such file.exe", false},
                          Case{tree.Path("missing/A long photo file name.jpeg"), false}}) {
        SCOPED_TRACE(c.path);
        const std::string shortName = installation->ShortPathName(c.path);
        if (!c.found) {
            EXPECT_EQ(shortName, "");
            continue;
        }
        ASSERT_TRUE(IsCleanText(shortName)) << "'" << shortName << "'";
        EXPECT_TRUE(std::filesystem::equivalent(shortName, tree.Native("A long photo file name.jpeg")));
    }
}

TEST(SaverInstallationWin32, ProfileStringLandsInItsSectionAndKey)
{
    const TemporaryTree tree;
    const std::string file = tree.Path("system.ini");
    CreateSystemSaverInstallation()->WriteProfileString("boot", "SCRNSAVE.EXE", "C:\\WINDOWS\\SAVER~1.scr", file);
    char read[MAX_PATH] = "";
    GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", read, sizeof read, file.c_str());
    EXPECT_STREQ(read, "C:\\WINDOWS\\SAVER~1.scr");
}

TEST(FileVersionWin32, FilesWithoutAReadableVersionGiveNothing)
{
    const TemporaryTree tree;
    tree.File("plain.exe");
    for (const std::string& path : {tree.Path("plain.exe"), tree.Path("missing.exe"), std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ReadFileVersion(path).has_value());
    }
}
