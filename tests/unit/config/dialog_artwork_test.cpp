#include "config/dialog_artwork.h"

#include <gtest/gtest.h>

namespace {

constexpr Pixel kMagenta = MakePixel(0xFF, 0x00, 0xFF);

struct PictureCase {
    const char* name;
    Bitmap (*load)();
    Size size;
    bool transparentCorners;
};

const PictureCase kPictures[] = {
    {"banner", BannerPicture, {513, 89}, false},
    {"save", SaveButtonPicture, {16, 16}, true},
    {"close", CloseButtonPicture, {16, 16}, true},
};

} // namespace

TEST(DialogArtwork, EachPictureDecodesAtItsOwnSize)
{
    for (const PictureCase& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        const Bitmap bitmap = picture.load();
        EXPECT_EQ(bitmap.Width(), picture.size.width);
        EXPECT_EQ(bitmap.Height(), picture.size.height);
    }
}

TEST(DialogArtwork, ButtonPicturesStandOnMagentaAndTheBannerIsOpaque)
{
    for (const PictureCase& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        const Bitmap bitmap = picture.load();
        ASSERT_FALSE(bitmap.IsEmpty());
        const int right = bitmap.Width() - 1;
        const int bottom = bitmap.Height() - 1;
        int magentaCorners = 0;
        for (const Pixel corner : {bitmap.At(0, 0), bitmap.At(right, 0), bitmap.At(0, bottom), bitmap.At(right, bottom)}) {
            magentaCorners += (corner & 0xFFFFFF) == kMagenta;
        }
        EXPECT_EQ(magentaCorners, picture.transparentCorners ? 4 : 0);
        // A button's picture is more than its ground.
        int drawn = 0;
        for (int y = 0; y <= bottom; ++y) {
            for (int x = 0; x <= right; ++x) {
                drawn += (bitmap.At(x, y) & 0xFFFFFF) != kMagenta;
            }
        }
        EXPECT_GT(drawn, bitmap.Width() * bitmap.Height() / 8);
    }
}
