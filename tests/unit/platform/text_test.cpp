#include "platform/text.h"

#include <gtest/gtest.h>

#include "gfx/error.h"
#include "platform/message_box.h"

using namespace std::string_literals;

namespace {

// The message of the conversion error, or "(no error)" with the value when there was none.
std::string ConversionError(std::string_view text)
{
    try {
        const auto value = StrToInt(text);
        return "(no error: " + std::to_string(value) + ")";
    } catch (const Error& error) {
        return error.what();
    }
}

} // namespace

TEST(TrimControlChars, RemovesEveryCodeUpToBlankFromBothEnds)
{
    EXPECT_EQ(TrimControlChars(""), "");
    EXPECT_EQ(TrimControlChars("   "), "");
    EXPECT_EQ(TrimControlChars(" \t\r\n\v\f\x01\x1f x y \x1f\n "), "x y");
    EXPECT_EQ(TrimControlChars("\0/s\0"s), "/s");
    EXPECT_EQ(TrimControlChars("!"), "!");
}

TEST(TrimControlChars, KeepsCharactersAbove127)
{
    // As signed chars these are negative: a signed comparison with 32 would strip them.
    EXPECT_EQ(TrimControlChars("\xa0/s\xa0"), "\xa0/s\xa0");
    EXPECT_EQ(TrimControlChars(" \x80x\xff "), "\x80x\xff");
    EXPECT_EQ(TrimControlChars("\xff"), "\xff");
    EXPECT_EQ(TrimControlChars("\x7f"), "\x7f");
}

TEST(StrToInt, AcceptsDecimalWithBlanksAndSign)
{
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("1234"), 1234);
    EXPECT_EQ(StrToInt(" 1234"), 1234);
    EXPECT_EQ(StrToInt("     7"), 7);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("-5"), -5);
    EXPECT_EQ(StrToInt("  -0"), 0);
    EXPECT_EQ(StrToInt("000000000000000000042"), 42);
}

TEST(StrToInt, AcceptsHexadecimalAfterEachPrefix)
{
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt(" $1f"), 31);
    EXPECT_EQ(StrToInt("x1F"), 31);
    EXPECT_EQ(StrToInt("X1f"), 31);
    EXPECT_EQ(StrToInt("0x1F"), 31);
    EXPECT_EQ(StrToInt("0X1f"), 31);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("+0x10"), 16);
    EXPECT_EQ(StrToInt("$abcdef"), 0xabcdef);
    EXPECT_EQ(StrToInt("$000000000001"), 1);
}

TEST(StrToInt, ReachesBothLimitsOfThirtyTwoBits)
{
    EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(ConversionError("2147483648"), "'2147483648' is not a valid integer value");
    EXPECT_EQ(ConversionError("-2147483649"), "'-2147483649' is not a valid integer value");
    EXPECT_EQ(ConversionError("4294967296"), "'4294967296' is not a valid integer value");
    EXPECT_EQ(ConversionError("99999999999999999999999"), "'99999999999999999999999' is not a valid integer value");
}

TEST(StrToInt, TakesHexadecimalAsThirtyTwoBitPatterns)
{
    EXPECT_EQ(StrToInt("$7FFFFFFF"), INT32_MAX);
    EXPECT_EQ(StrToInt("$80000000"), INT32_MIN);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("0xFFFFFFFE"), -2);
    EXPECT_EQ(StrToInt("-$FFFFFFFF"), 1);
    EXPECT_EQ(StrToInt("-$7FFFFFFF"), -INT32_MAX);
    EXPECT_EQ(StrToInt("-$80000000"), INT32_MIN);
    EXPECT_EQ(ConversionError("$100000000"), "'$100000000' is not a valid integer value");
    EXPECT_EQ(ConversionError("x1FFFFFFFF"), "'x1FFFFFFFF' is not a valid integer value");
}

TEST(StrToInt, RejectsEverythingElseNamingTheWholeText)
{
    EXPECT_EQ(ConversionError(""), "'' is not a valid integer value");
    EXPECT_EQ(ConversionError(" "), "' ' is not a valid integer value");
    EXPECT_EQ(ConversionError(":1234"), "':1234' is not a valid integer value");
    EXPECT_EQ(ConversionError("12a"), "'12a' is not a valid integer value");
    EXPECT_EQ(ConversionError("1234 "), "'1234 ' is not a valid integer value");
    EXPECT_EQ(ConversionError("\t1"), "'\t1' is not a valid integer value");
    EXPECT_EQ(ConversionError("1.5"), "'1.5' is not a valid integer value");
    EXPECT_EQ(ConversionError("-"), "'-' is not a valid integer value");
    EXPECT_EQ(ConversionError("+-1"), "'+-1' is not a valid integer value");
    EXPECT_EQ(ConversionError("- 1"), "'- 1' is not a valid integer value");
    EXPECT_EQ(ConversionError("$"), "'$' is not a valid integer value");
    EXPECT_EQ(ConversionError("x"), "'x' is not a valid integer value");
    EXPECT_EQ(ConversionError("0x"), "'0x' is not a valid integer value");
    EXPECT_EQ(ConversionError("$$1"), "'$$1' is not a valid integer value");
    EXPECT_EQ(ConversionError("$-1"), "'$-1' is not a valid integer value");
    EXPECT_EQ(ConversionError("$1G"), "'$1G' is not a valid integer value");
    EXPECT_EQ(ConversionError("1F"), "'1F' is not a valid integer value");
    EXPECT_EQ(ConversionError("\xb9"), "'\xb9' is not a valid integer value");
    // A "%s" in the text is data, not a second place to fill.
    EXPECT_EQ(ConversionError("%s"), "'%s' is not a valid integer value");

    std::int32_t value = 99;
    EXPECT_FALSE(TryStrToInt("nope", value));
    EXPECT_EQ(value, 99) << "a failed conversion leaves the target alone";
    EXPECT_TRUE(TryStrToInt("$10", value));
    EXPECT_EQ(value, 16);
}

TEST(ErrorBoxText, AddsAClosingFullStopOnlyWhenNeeded)
{
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(ErrorBoxText("'' is not a valid integer value"), "'' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("."), ".");
    // Characters below "." end the text as they are: "-", ",", "!", a blank, a line break.
    EXPECT_EQ(ErrorBoxText("value -"), "value -");
    EXPECT_EQ(ErrorBoxText("a,"), "a,");
    EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorBoxText("ends with a blank "), "ends with a blank ");
    EXPECT_EQ(ErrorBoxText("line\n"), "line\n");
    // So the registry's messages, which end in a quote, are shown as they are.
    EXPECT_EQ(ErrorBoxText("Failed to get data for 'ChangeInterval'"), "Failed to get data for 'ChangeInterval'");
    // Characters above it get the full stop, those above 127 included.
    EXPECT_EQ(ErrorBoxText("path/"), "path/.");
    EXPECT_EQ(ErrorBoxText("1"), "1.");
    EXPECT_EQ(ErrorBoxText("Fehler \xe4"), "Fehler \xe4.");
    EXPECT_EQ(ErrorBoxText("\xff"), "\xff.");
}

TEST(AnsiLowerCase, FoldsAsciiLettersOnly)
{
    EXPECT_EQ(AnsiLowerCase(""), "");
    EXPECT_EQ(AnsiLowerCase(std::string_view()), "");
    EXPECT_EQ(AnsiLowerCase("/S"), "/s");
    EXPECT_EQ(AnsiLowerCase("/A $1F"), "/a $1f");
    EXPECT_EQ(AnsiLowerCase("ABCXYZ abcxyz 0123 @[`{"), "abcxyz abcxyz 0123 @[`{");
    EXPECT_EQ(AnsiUpperCase("/a $1f"), "/A $1F");
    EXPECT_EQ(AnsiLowerCase("A\0B"s), "a\0b"s);
}

TEST(ExtractFileExt, TakesTheLastDotOfTheFileName)
{
    EXPECT_EQ(ExtractFileExt("photo.JPG"), ".JPG");
    EXPECT_EQ(ExtractFileExt("archive.tar.jpeg"), ".jpeg");
    EXPECT_EQ(ExtractFileExt("noext"), "");
    EXPECT_EQ(ExtractFileExt("trailing."), ".");
    EXPECT_EQ(ExtractFileExt("C:\\My.Photos\\noext"), "");
    EXPECT_EQ(ExtractFileExt("/home/me/my.photos/noext"), "");
    EXPECT_EQ(ExtractFileExt("/home/me/my.photos/a.bmp"), ".bmp");
}
