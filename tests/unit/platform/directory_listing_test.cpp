// Listing a folder: every entry once, "." and ".." left out, links followed, and an identity that
// names the folder whatever path reached it.
#include "platform/directory_listing.h"

#include <gtest/gtest.h>

#include <map>

#include "unit/test_support/temporary_tree.h"

namespace {

std::map<std::string, bool> Entries(DirectoryListing& listing)
{
    std::map<std::string, bool> entries;
    DirectoryEntry entry;
    while (listing.Next(entry)) EXPECT_TRUE(entries.emplace(entry.name, entry.isDirectory).second) << entry.name;
    return entries;
}

} // namespace

TEST(DirectoryListing, GivesEachEntryOnceWithItsKind)
{
    TemporaryTree tree;
    tree.File("a.jpg");
    tree.File("sub/inner.jpg");
    tree.File(".hidden");
    tree.Directory("album.jpg");

    const auto listing = OpenDirectoryListing(tree.Root());
    ASSERT_NE(listing, nullptr);
    EXPECT_EQ(Entries(*listing),
              (std::map<std::string, bool>{{".hidden", false}, {"a.jpg", false}, {"album.jpg", true}, {"sub", true}}));
    DirectoryEntry after;
    EXPECT_FALSE(listing->Next(after));
}

TEST(DirectoryListing, AnEmptyFolderHasNoEntries)
{
    TemporaryTree tree;
    tree.Directory("empty");
    const auto listing = OpenDirectoryListing(tree.Path("empty"));
    ASSERT_NE(listing, nullptr);
    EXPECT_TRUE(Entries(*listing).empty());
}

TEST(DirectoryListing, WhatIsNotAFolderDoesNotOpen)
{
    TemporaryTree tree;
    tree.File("file.jpg");
    EXPECT_EQ(OpenDirectoryListing(tree.Path("missing")), nullptr);
    EXPECT_EQ(OpenDirectoryListing(tree.Path("file.jpg")), nullptr);
    EXPECT_EQ(OpenDirectoryListing(tree.Path("missing/deeper")), nullptr);
}

TEST(DirectoryListing, AFolderKeepsItsIdentityThroughALink)
{
    TemporaryTree tree;
    tree.Directory("one");
    tree.Directory("two");
    const auto one = OpenDirectoryListing(tree.Path("one"));
    const auto two = OpenDirectoryListing(tree.Path("two"));
    ASSERT_TRUE(one && two);
    ASSERT_TRUE(one->Identity() && two->Identity());
    EXPECT_NE(*one->Identity(), *two->Identity());
    EXPECT_EQ(*one->Identity(), *OpenDirectoryListing(tree.Path("one"))->Identity());

    if (!tree.DirectoryLink("link", "one")) GTEST_SKIP() << "no folder links here";
    const auto linked = OpenDirectoryListing(tree.Path("link"));
    ASSERT_TRUE(linked && linked->Identity());
    EXPECT_EQ(*linked->Identity(), *one->Identity());
    const auto parent = OpenDirectoryListing(tree.Root());
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(Entries(*parent), (std::map<std::string, bool>{{"link", true}, {"one", true}, {"two", true}}));
}
