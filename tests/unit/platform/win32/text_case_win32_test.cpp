// Case folding in the Windows ANSI code page.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "platform/win32/windows_header.h"

TEST(TextCaseWin32, FoldsNonAsciiLettersOfTheWesternCodePage)
{
    if (GetACP() != 1252) GTEST_SKIP() << "the letters below are those of code page 1252, this is " << GetACP();
    EXPECT_EQ(AnsiLowerCase("\xc9T\xc9"), "\xe9t\xe9");  // ÉTÉ
    EXPECT_EQ(AnsiUpperCase("\xe9t\xe9"), "\xc9T\xc9");
    EXPECT_EQ(AnsiLowerCase("/S \xdc\x62"), "/s \xfc\x62");  // Üb
    EXPECT_EQ(AnsiLowerCase("\xa0/S\xd7"), "\xa0/s\xd7") << "a non-breaking space and the multiplication sign stay";
}
