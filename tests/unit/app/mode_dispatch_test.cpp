#include "app/mode_dispatch.h"

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "platform/message_box.h"

using namespace std::string_literals;

namespace {

std::string Mode(std::string_view commandLine) { return ChooseMode(NormalizeCommandLine(commandLine)); }

int PasswordParent(std::string_view commandLine) { return ParsePasswordParent(NormalizeCommandLine(commandLine)); }

// What the standard error box shows when "/a" cannot convert its handle text.
std::string PasswordErrorBox(std::string_view commandLine)
{
    try {
        const int parent = PasswordParent(commandLine);
        return "(no error: " + std::to_string(parent) + ")";
    } catch (const Error& error) {
        return ErrorBoxText(error.what());
    }
}

} // namespace

TEST(ModeDispatch, NoSwitchConfigures)
{
    EXPECT_EQ(Mode(""), "/c");
    EXPECT_EQ(Mode(" "), "/c");
    EXPECT_EQ(Mode("      "), "/c");
    EXPECT_EQ(Mode("\t\r\n \x01\x1f"), "/c");
}

TEST(ModeDispatch, TheFirstTwoCharactersChooseTheMode)
{
    EXPECT_EQ(Mode("/s"), "/s");
    EXPECT_EQ(Mode("/S"), "/s");
    EXPECT_EQ(Mode(" /s "), "/s");
    EXPECT_EQ(Mode("/s 1234"), "/s");
    EXPECT_EQ(Mode("/scr"), "/s");
    EXPECT_EQ(Mode("/c"), "/c");
    EXPECT_EQ(Mode("/C"), "/c");
    EXPECT_EQ(Mode("/c:1234"), "/c");
    EXPECT_EQ(Mode("/c 1234"), "/c");
    EXPECT_EQ(Mode("/p 1234"), "/p");
    EXPECT_EQ(Mode("/P:1234"), "/p");
    EXPECT_EQ(Mode("/a 1234"), "/a");
    EXPECT_EQ(Mode("/A 1234"), "/a");
    // Anything else is none of the four: the program opens nothing.
    EXPECT_EQ(Mode("-s"), "-s");
    EXPECT_EQ(Mode("s"), "s");
    EXPECT_EQ(Mode("S"), "s");
    EXPECT_EQ(Mode("/x"), "/x");
    EXPECT_EQ(Mode("/"), "/");
    EXPECT_EQ(Mode("//s"), "//");
    EXPECT_EQ(Mode("/ s"), "/ ");
}

TEST(ModeDispatch, ControlCharactersAroundTheSwitchAreTrimmed)
{
    EXPECT_EQ(Mode("\t/s"), "/s");
    EXPECT_EQ(Mode("/s\r\n"), "/s");
    EXPECT_EQ(Mode("\r\n\t /S \t\r\n"), "/s");
    EXPECT_EQ(Mode("\x01\x02\x1b/c\x7f"), "/c");
    EXPECT_EQ(Mode("\v\f/p\0"s), "/p");
    // Only the ends are trimmed: a tab after the first character is part of the mode.
    EXPECT_EQ(Mode("/\ts"), "/\t");
}

TEST(ModeDispatch, CharactersAbove127AreNotTrimmed)
{
    // A non-breaking space (0xA0) or any other byte above 127 is a character of the command
    // line. Compared as a signed char it would look like a control character and vanish.
    EXPECT_EQ(Mode("\xa0/s"), "\xa0/");
    EXPECT_EQ(Mode("\xff/s"), "\xff/");
    EXPECT_EQ(Mode("\x80"), "\x80");
    EXPECT_NE(Mode("\xa0"), "/c");
    // After the switch they change nothing.
    EXPECT_EQ(Mode("/s\xa0"), "/s");
    EXPECT_EQ(Mode("/S\xe9"), "/s");
    EXPECT_EQ(Mode(" /c\xff 12"), "/c");
}

TEST(ModeDispatch, PasswordChangeTakesTheParentWindowFromTheRest)
{
    EXPECT_EQ(PasswordParent("/a 1234"), 1234);
    EXPECT_EQ(PasswordParent("/A 1234"), 1234);
    EXPECT_EQ(PasswordParent("/a1234"), 1234);
    EXPECT_EQ(PasswordParent("/a $1F"), 31);
    EXPECT_EQ(PasswordParent("/A X1F"), 31);
    EXPECT_EQ(PasswordParent("/a 0X1F"), 31);
    EXPECT_EQ(PasswordParent("/a    -7"), -7);
    EXPECT_EQ(PasswordParent(" /a 1234 \r\n"), 1234);
    EXPECT_EQ(PasswordParent("\t/a 1234\t"), 1234);
}

TEST(ModeDispatch, AnUnreadableParentShowsTheConversionError)
{
    EXPECT_EQ(PasswordErrorBox("/a"), "'' is not a valid integer value.");
    EXPECT_EQ(PasswordErrorBox(" /A \r\n"), "'' is not a valid integer value.");
    EXPECT_EQ(PasswordErrorBox("/a:1234"), "':1234' is not a valid integer value.");
    // The handle text is shown lower-cased, as it was converted.
    EXPECT_EQ(PasswordErrorBox("/A 12AB"), "' 12ab' is not a valid integer value.");
    EXPECT_EQ(PasswordErrorBox("/a 12 34"), "' 12 34' is not a valid integer value.");
    // Only blanks are skipped before the number.
    EXPECT_EQ(PasswordErrorBox("/a\t1234"), "'\t1234' is not a valid integer value.");
    EXPECT_EQ(PasswordErrorBox("/a 1234\xa0"), "' 1234\xa0' is not a valid integer value.");
    EXPECT_EQ(PasswordErrorBox("/a 99999999999"), "' 99999999999' is not a valid integer value.");
}
