#include "settings/directory_list.h"

#include <gtest/gtest.h>

using List = std::vector<std::string>;

TEST(DirectoryList, SplitsAtEveryBarAndKeepsEmptyEntries)
{
    EXPECT_EQ(SplitDirectoryList(""), List{});
    EXPECT_EQ(SplitDirectoryList("C:\\Photos"), List{"C:\\Photos"});
    EXPECT_EQ(SplitDirectoryList("C:\\Photos|D:\\Music"), (List{"C:\\Photos", "D:\\Music"}));
    EXPECT_EQ(SplitDirectoryList("A|B|C"), (List{"A", "B", "C"}));
    EXPECT_EQ(SplitDirectoryList("A||B"), (List{"A", "", "B"}));
    EXPECT_EQ(SplitDirectoryList("C:\\Photos|"), (List{"C:\\Photos", ""}));
    EXPECT_EQ(SplitDirectoryList("|C:\\Photos"), (List{"", "C:\\Photos"}));
    EXPECT_EQ(SplitDirectoryList("|"), (List{"", ""}));
    EXPECT_EQ(SplitDirectoryList("||"), (List{"", "", ""}));
}

TEST(DirectoryList, KeepsPathsExactlyAsChosen)
{
    // Case, blanks, a trailing separator and non-ASCII bytes pass through untouched.
    EXPECT_EQ(SplitDirectoryList(" C:\\My Photos\\ |d:\\M\xfasica\\"), (List{" C:\\My Photos\\ ", "d:\\M\xfasica\\"}));
    EXPECT_EQ(SplitDirectoryList("/home/me/Fotos|/media/usb"), (List{"/home/me/Fotos", "/media/usb"}));
}

TEST(DirectoryList, JoinsWithOneBarBetweenEntries)
{
    EXPECT_EQ(JoinDirectoryList({}), "");
    EXPECT_EQ(JoinDirectoryList({"C:\\Photos"}), "C:\\Photos");
    EXPECT_EQ(JoinDirectoryList({"C:\\Photos", "D:\\More Photos"}), "C:\\Photos|D:\\More Photos");
    EXPECT_EQ(JoinDirectoryList({"A", "", "B"}), "A||B");
    EXPECT_EQ(JoinDirectoryList({""}), "");
    EXPECT_EQ(JoinDirectoryList({"", ""}), "|");
    EXPECT_EQ(JoinDirectoryList({"A", ""}), "A|");
}

TEST(DirectoryList, RoundTrips)
{
    for (const char* text : {"A", "A|B|C", "A||B", "C:\\Photos|", "|C:\\Photos", "|", "||", " | "}) {
        EXPECT_EQ(JoinDirectoryList(SplitDirectoryList(text)), text);
    }
    // Every non-empty list survives the round trip, except the one that is a single empty entry:
    // it joins to the empty text, which splits to no entries at all.
    for (const List& list : {List{"A"}, List{"A", "B"}, List{"", "A"}, List{"A", ""}, List{"", ""}}) {
        EXPECT_EQ(SplitDirectoryList(JoinDirectoryList(list)), list);
    }
    EXPECT_EQ(SplitDirectoryList(JoinDirectoryList({""})), List{});
}
