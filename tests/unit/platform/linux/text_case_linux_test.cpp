// Case folding in the Linux system code page, UTF-8.
#include <gtest/gtest.h>

#include "platform/text.h"

TEST(TextCaseLinux, FoldsNonAsciiLettersOfValidUtf8)
{
    EXPECT_EQ(AnsiLowerCase("\xc3\x89T\xc3\x89"), "\xc3\xa9t\xc3\xa9");           // ÉTÉ
    EXPECT_EQ(AnsiUpperCase("\xc3\xa9t\xc3\xa9"), "\xc3\x89T\xc3\x89");
    EXPECT_EQ(AnsiLowerCase("/S \xc3\x9c\x62"), "/s \xc3\xbc\x62");                // Üb
    EXPECT_EQ(AnsiLowerCase("\xc2\xa0/S"), "\xc2\xa0/s") << "a non-breaking space stays";
}

TEST(TextCaseLinux, BytesThatAreNotUtf8FoldAsAsciiAndStay)
{
    EXPECT_EQ(AnsiLowerCase("\xc9/S\xff"), "\xc9/s\xff");
    EXPECT_EQ(AnsiUpperCase("\xe9/s"), "\xe9/S");
}

TEST(TextCaseLinux, EmptyTextsWriteNothingToStandardError)
{
    // Standard error carries the trace lines: a library warning there would break them.
    testing::internal::CaptureStderr();
    EXPECT_EQ(AnsiLowerCase(std::string_view()), "");
    EXPECT_EQ(AnsiUpperCase(std::string_view()), "");
    EXPECT_EQ(AnsiLowerCase(""), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
