#include "app/log_trace.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

LocalDateTime At(int hour, int minute, int second, int millisecond)
{
    return LocalDateTime{2026, 12, 8, hour, minute, second, millisecond};
}

} // namespace

TEST(FormatTraceLine, DateBlankTimeTwoBlanksMessage)
{
    const LocalDateTime when = At(3, 25, 18, 250);
    const std::string date = FormatShortDate(when);
    const std::string time = FormatLongTime(when);
    ASSERT_FALSE(date.empty());
    ASSERT_FALSE(time.empty());
    EXPECT_EQ(FormatTraceLine(when, "x"), date + " " + time + "  x");
    EXPECT_EQ(FormatTraceLine(At(23, 59, 59, 999), "DrawScreen begin..."),
              date + " " + FormatLongTime(At(23, 59, 59, 999)) + "  DrawScreen begin...");
}

TEST(FormatTraceLine, LeavesOutTheTimeOnlyAtExactlyMidnight)
{
    const std::string date = FormatShortDate(At(0, 0, 0, 0));
    EXPECT_EQ(FormatTraceLine(At(0, 0, 0, 0), "x"), date + "  x");
    EXPECT_EQ(FormatTraceLine(At(0, 0, 0, 1), "x"), date + " " + FormatLongTime(At(0, 0, 0, 1)) + "  x");
    EXPECT_EQ(FormatTraceLine(At(0, 0, 1, 0), "x"), date + " " + FormatLongTime(At(0, 0, 1, 0)) + "  x");
    EXPECT_EQ(FormatTraceLine(At(0, 1, 0, 0), "x"), date + " " + FormatLongTime(At(0, 1, 0, 0)) + "  x");
    EXPECT_EQ(FormatTraceLine(At(12, 0, 0, 0), "x"), date + " " + FormatLongTime(At(12, 0, 0, 0)) + "  x");
}

TEST(FormatTraceLine, PassesTheMessageThroughUnchanged)
{
    const LocalDateTime when = At(0, 0, 0, 0);
    const std::string prefix = FormatShortDate(when) + "  ";
    EXPECT_EQ(FormatTraceLine(when, ""), prefix);
    EXPECT_EQ(FormatTraceLine(when, "  padded  "), prefix + "  padded  ");
    EXPECT_EQ(FormatTraceLine(when, "pic file=C:\\Photos\\%s\xe9.jpg"), prefix + "pic file=C:\\Photos\\%s\xe9.jpg");
    EXPECT_EQ(FormatTraceLine(when, "a\0b"s), prefix + "a\0b"s);
}

TEST(FormatTraceLine, DateAndTimeFollowTheCalendarFields)
{
    // The formats are the OS's own; whatever they are, they must show the fields they are given.
    EXPECT_NE(FormatShortDate(At(1, 2, 3, 0)), FormatShortDate(LocalDateTime{2026, 12, 9, 1, 2, 3, 0}));
    EXPECT_NE(FormatShortDate(At(1, 2, 3, 0)), FormatShortDate(LocalDateTime{2026, 11, 8, 1, 2, 3, 0}));
    EXPECT_NE(FormatShortDate(At(1, 2, 3, 0)), FormatShortDate(LocalDateTime{2025, 12, 8, 1, 2, 3, 0}));
    EXPECT_EQ(FormatShortDate(At(1, 2, 3, 0)), FormatShortDate(At(22, 33, 44, 0)));
    EXPECT_NE(FormatLongTime(At(3, 25, 18, 0)), FormatLongTime(At(3, 25, 19, 0)));
    EXPECT_NE(FormatLongTime(At(3, 25, 18, 0)), FormatLongTime(At(3, 26, 18, 0)));
    EXPECT_NE(FormatLongTime(At(3, 25, 18, 0)), FormatLongTime(At(15, 25, 18, 0)));
}
