// Without a system selection of screen savers, Save's names are the files' own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>

#include "platform/saver_installation.h"
#include "unit/test_support/temporary_tree.h"

namespace {

class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path)
    {
        char old[PATH_MAX];
        if (::getcwd(old, sizeof old)) m_Old = old;
        EXPECT_EQ(::chdir(path.c_str()), 0);
    }
    ~WorkingDirectory()
    {
        if (!m_Old.empty()) (void)::chdir(m_Old.c_str());
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string m_Old;
};

TEST(SaverInstallationLinux, ShortNamesAreTheNamesOfFilesThatExist)
{
    TemporaryTree tree;
    tree.File("saver");
    const WorkingDirectory inTree(tree.Root());
    const auto installation = CreateSystemSaverInstallation();
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {tree.Path("saver"), tree.Path("saver")},
        {"saver", "saver"},
        {"missing", ""},
        {tree.Path("missing"), ""},
        {"", ""},
    };
    for (const auto& test : cases) EXPECT_EQ(installation->ShortPathName(test.path), test.expected) << test.path;
}

TEST(SaverInstallationLinux, NoSystemDirectoriesAndTheProgramsOwnPath)
{
    const auto installation = CreateSystemSaverInstallation();
    EXPECT_EQ(installation->SystemDirectory(), "");
    EXPECT_EQ(installation->WindowsDirectory(), "");
    char self[PATH_MAX] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    EXPECT_EQ(installation->ProgramFilePath(), self);
}

} // namespace
