// Linux names are bytes: whatever the locale, they come back as the kernel gives them.
#include "platform/directory_listing.h"

#include <gtest/gtest.h>

#include <set>

#include "unit/test_support/temporary_tree.h"

namespace {

std::set<std::string> Names(const std::string& directory)
{
    std::set<std::string> names;
    const auto listing = OpenDirectoryListing(directory);
    EXPECT_NE(listing, nullptr) << directory;
    DirectoryEntry entry;
    while (listing && listing->Next(entry)) names.insert(entry.name);
    return names;
}

} // namespace

TEST(DirectoryListingLinux, KeepsNamesThatAreNotValidText)
{
    TemporaryTree tree;
    const std::string latin1 = "caf\xE9.jpg";
    const std::string cut = "\xC3.bmp";
    tree.File(latin1);
    tree.File(cut);
    EXPECT_EQ(Names(tree.Root()), (std::set<std::string>{latin1, cut}));
}

TEST(DirectoryListingLinux, TheEmptyPathIsTheRoot)
{
    const auto names = Names("");
    EXPECT_TRUE(names.contains("tmp"));
    EXPECT_TRUE(names.contains("proc"));
}

TEST(DirectoryListingLinux, ADanglingLinkIsAFile)
{
    TemporaryTree tree;
    std::filesystem::create_symlink(tree.Native("nowhere"), tree.Native("gone.jpg"));
    const auto listing = OpenDirectoryListing(tree.Root());
    ASSERT_NE(listing, nullptr);
    DirectoryEntry entry;
    ASSERT_TRUE(listing->Next(entry));
    EXPECT_EQ(entry.name, "gone.jpg");
    EXPECT_FALSE(entry.isDirectory);
}
