// The cache folder on Linux: where it is, and that only the user's own real files are read.
#include "platform/user_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "unit/test_support/temporary_tree.h"

namespace {

class CacheHome : public testing::Test {
protected:
    void SetUp() override
    {
        if (const char* old = std::getenv("XDG_CACHE_HOME")) m_Old = old;
        ::setenv("XDG_CACHE_HOME", m_Tree.Path("cache").c_str(), 1);
    }
    void TearDown() override
    {
        if (m_Old) {
            ::setenv("XDG_CACHE_HOME", m_Old->c_str(), 1);
        } else {
            ::unsetenv("XDG_CACHE_HOME");
        }
    }
    std::string Folder() const { return m_Tree.Path("cache/tovelin"); }
    TemporaryTree m_Tree;
    std::optional<std::string> m_Old;
};

} // namespace

TEST_F(CacheHome, TheFolderFollowsXdgCacheHomeOrDefaultsUnderHome)
{
    EXPECT_EQ(UserCacheDirectory(), Folder());
    ::setenv("XDG_CACHE_HOME", "relative/cache", 1); // not absolute: ignored
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    if (home.starts_with("/")) {
        EXPECT_EQ(UserCacheDirectory(), home + "/.cache/tovelin");
    }
}

TEST_F(CacheHome, AWrittenFileIsReadBackWholeAndReplacedWithoutLeftovers)
{
    EXPECT_FALSE(ReadUserCacheFile("f", 100)) << "nothing there yet";
    ASSERT_TRUE(WriteUserCacheFile("f", "first"));
    ASSERT_TRUE(WriteUserCacheFile("f", std::string("sec\0ond", 7)));
    EXPECT_EQ(ReadUserCacheFile("f", 100), std::string("sec\0ond", 7));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}), 1) << "no temporary file left";
    struct stat info {};
    ASSERT_EQ(::stat(Folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_FALSE(ReadUserCacheFile("f", 6)) << "larger than the cap";
}

TEST_F(CacheHome, RefusesLinksAndWhatAnotherUserOwns)
{
    ASSERT_TRUE(WriteUserCacheFile("real", "bytes"));
    std::filesystem::create_symlink(Folder() + "/real", Folder() + "/link");
    EXPECT_FALSE(ReadUserCacheFile("link", 100)) << "a link to a file";

    // A cache folder that is a link to another folder is not used, for reading or writing.
    m_Tree.File("elsewhere/real");
    std::filesystem::remove_all(Folder());
    std::filesystem::create_directory_symlink(m_Tree.Path("elsewhere"), Folder());
    EXPECT_FALSE(ReadUserCacheFile("real", 100));
    EXPECT_FALSE(WriteUserCacheFile("real", "x"));
    std::filesystem::remove(Folder());

    ASSERT_TRUE(WriteUserCacheFile("theirs", "bytes"));
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file away";
    ASSERT_EQ(::chown((Folder() + "/theirs").c_str(), 12345, 12345), 0);
    EXPECT_FALSE(ReadUserCacheFile("theirs", 100)) << "a file of another user";
    ASSERT_EQ(::chown(Folder().c_str(), 12345, 12345), 0);
    EXPECT_FALSE(WriteUserCacheFile("mine", "x")) << "a folder of another user";
}
