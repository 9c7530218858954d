#include <gtest/gtest.h>

#include "platform/linux/ui_host_linux.h"

namespace {

Bitmap Drawn(GtkUiHost& host, const char* face, int points)
{
    Bitmap bitmap(400, 80, kWhite);
    host.DrawText(bitmap, TextFont{face, points}, Point{4, 4}, "Current Photo File = /a/b.jpg 0123");
    return bitmap;
}

} // namespace

TEST(UiHostGtkTextFace, AnUnknownFaceFallsBackToLiberationSansAndAKnownOneStays)
{
    GtkUiHost host;
    const Bitmap liberation = Drawn(host, "Liberation Sans", 10);
    EXPECT_EQ(Drawn(host, "Ms Sans Serif", 10), liberation);
    EXPECT_EQ(Drawn(host, "No Such Face Anywhere", 10), liberation);
    EXPECT_EQ(Drawn(host, "", 10), liberation);
    EXPECT_NE(Drawn(host, "DejaVu Sans", 10), liberation);
    EXPECT_NE(Drawn(host, "Liberation Serif", 10), liberation);
}
