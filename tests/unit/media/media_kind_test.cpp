#include "media/media_kind.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

struct NameCase {
    const char* name;
    MediaKind kind;
};

constexpr NameCase kNames[] = {
    {"HOLIDAY.JPG", MediaKind::Photo},  {"a.b.bmp", MediaKind::Photo},    {".jpg", MediaKind::Photo},
    {"x.BmP", MediaKind::Photo},        {"song.MP3", MediaKind::Music},   {"SONG.MID", MediaKind::Music},
    {"a.wma", MediaKind::Music},        {".mp3", MediaKind::Music},       {"photo.jpeg", MediaKind::Other},
    {"photo.png", MediaKind::Other},    {"x.wav", MediaKind::Other},      {"a.jpg.txt", MediaKind::Other},
    {"holiday_jpg", MediaKind::Other},  {"jpg", MediaKind::Other},        {"a.b", MediaKind::Other},
    {"", MediaKind::Other},             {"a.jpg ", MediaKind::Other},     {"photo.", MediaKind::Other},
    {"caf\xE9.jpg", MediaKind::Photo},  {"x.\xC3\xA9jpg", MediaKind::Other},
};

} // namespace

TEST(ClassifyMediaFile, JudgesTheTextAfterTheLastDot)
{
    for (const NameCase& c : kNames) EXPECT_EQ(ClassifyMediaFile(c.name), c.kind) << "\"" << c.name << "\"";
}

TEST(ClassifyMediaFile, TheLocaleDoesNotChangeTheAnswer)
{
    // Turkish lower-cases "I" to a dotless i: "MID" would no longer read as "mid".
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "tr_TR.UTF-8") && !std::setlocale(LC_ALL, "Turkish_Turkey.1254")) {
        GTEST_SKIP() << "no Turkish locale here";
    }
    const MediaKind mid = ClassifyMediaFile("SONG.MID");
    const MediaKind bmp = ClassifyMediaFile("SCAN.BMP");
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(mid, MediaKind::Music);
    EXPECT_EQ(bmp, MediaKind::Photo);
}
