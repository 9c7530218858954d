// The remembered library's file: what it keeps, and that anything but a whole file written for
// the same directories counts as none. And the path set that keeps a walk from adding a file
// twice.
#include "media/library_cache.h"

#include <gtest/gtest.h>

#include <functional>

#include "media/path_set.h"

namespace {

const std::string kDirs = "C:\\Photos|D:\\More\\";

std::string Sample()
{
    return FormatLibrary(kDirs, {"C:\\Photos\\a.jpg", "C:\\Photos\\line\nbreak.bmp"}, {"D:\\More\\x.mp3"},
                         {"C:\\Photos", ""});
}

} // namespace

TEST(LibraryCache, ARoundTripKeepsEveryListAndEveryByte)
{
    const StringList photos{"/p/a.jpg", std::string("/p/\xe9t\xe9 | 5.JPG"), "/p/ x.bmp", "/p/a.jpg"};
    const StringList music{"/m/one.mid", "/m/two.WMA"};
    const StringList walked{"", "/p", "/p/sub dir"};
    for (const auto& [name, p, m, w] : {std::tuple{"full", photos, music, walked},
                                        std::tuple{"empty", StringList{}, StringList{}, StringList{}},
                                        std::tuple{"photos only", photos, StringList{}, StringList{}}}) {
        const auto library = ParseLibrary(FormatLibrary("/p|/m", p, m, w), "/p|/m");
        ASSERT_TRUE(library) << name;
        EXPECT_EQ(library->directories, "/p|/m") << name;
        EXPECT_EQ(library->photos, p) << name;
        EXPECT_EQ(library->music, m) << name;
        EXPECT_EQ(library->walkedFolders, w) << name;
    }
}

TEST(LibraryCache, AnythingButAWholeFileForTheSameDirectoriesIsNone)
{
    const std::string good = Sample();
    ASSERT_TRUE(ParseLibrary(good, kDirs));
    auto flipped = [&](std::size_t at) {
        std::string bad = good;
        bad[at] ^= 0x01;
        return bad;
    };
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string bad = good;
        bad.replace(bad.find(from), from.size(), to);
        return bad;
    };
    const struct {
        const char* name;
        std::string text;
        std::string directories;
    } cases[] = {
        {"empty", "", kDirs},
        {"another directory list", good, "C:\\Photos"},
        {"the same directories in another order", good, "D:\\More\\|C:\\Photos"},
        {"cut short by one byte", good.substr(0, good.size() - 1), kDirs},
        {"cut short in the middle", good.substr(0, good.size() / 2), kDirs},
        {"cut short before the end line", good.substr(0, good.rfind("END")), kDirs},
        {"a byte changed in a path", flipped(good.find("a.jpg")), kDirs},
        {"a byte changed in the magic line", flipped(2), kDirs},
        {"another version", replaced("CACHE 1", "CACHE 2"), kDirs},
        {"bytes after the end line", good + "x", kDirs},
        {"a text file", "hello\nEND 0\n", kDirs},
    };
    for (const auto& c : cases) EXPECT_FALSE(ParseLibrary(c.text, c.directories)) << c.name;
}

// Files sealed with a right checksum but holding a wrong field: each field is checked for itself.
TEST(LibraryCache, AFieldOutOfPlaceIsNoneEvenWithAGoodChecksum)
{
    const struct {
        const char* name;
        StringList photos;
        StringList music;
    } cases[] = {
        {"a music file in the photo list", {"/p/song.mp3"}, {}},
        {"a photo in the music list", {}, {"/p/a.jpg"}},
        {"a file of another kind", {"/p/readme.txt"}, {}},
        {"an empty path", {""}, {}},
        {"a path with a NUL byte", {std::string("/p/a\0b.jpg", 10)}, {}},
    };
    for (const auto& c : cases) EXPECT_FALSE(ParseLibrary(FormatLibrary("d", c.photos, c.music, {}), "d")) << c.name;
}

TEST(LibraryCache, AHugeCountIsRefusedBeforeAnythingIsReserved)
{
    std::string text = FormatLibrary("d", {}, {}, {});
    text.replace(text.find("P 0"), 3, "P 999999999999");
    // The checksum no longer matches either; the count alone must not cost memory first.
    EXPECT_FALSE(ParseLibrary(text, "d"));
    std::string oversized(kLibraryCacheMaxBytes + 1, 'x');
    EXPECT_FALSE(ParseLibrary(oversized, "d"));
}

TEST(PathSet, HoldsEachIndexedPathOnceAndNothingElse)
{
    StringList list;
    PathSet set(list);
    EXPECT_FALSE(set.Contains("anything"));
    for (int i = 0; i < 5000; ++i) list.push_back("/photos/" + std::to_string(i % 4000) + ".jpg");
    set.IndexUpTo(3000);
    EXPECT_EQ(set.Size(), 3000u);
    EXPECT_TRUE(set.Contains("/photos/2999.jpg"));
    EXPECT_FALSE(set.Contains("/photos/3000.jpg")) << "an entry past the indexed count";
    set.IndexUpTo(list.size());
    EXPECT_EQ(set.Size(), 4000u) << "the repeated paths count once";
    for (int i = 0; i < 4000; i += 97) EXPECT_TRUE(set.Contains("/photos/" + std::to_string(i) + ".jpg")) << i;
    for (const char* absent : {"/photos/4000.jpg", "/photos/.jpg", "", "/photos/1.jp"}) {
        EXPECT_FALSE(set.Contains(absent)) << absent;
    }
}
