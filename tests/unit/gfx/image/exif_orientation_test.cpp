#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gfx/image/exif_orientation.h"
#include "gfx/image/image_file.h"
#include "unit/test_support/image_files.h"
#include "unit/test_support/jpeg_encoder.h"

namespace {

struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count, value;
};

// An APP1 payload: "Exif\0\0", a TIFF header, and a first directory at nextOffset's pointer.
// nextDirectory is the directory's link to the next one.
Bytes ExifBlock(bool bigEndian, const std::vector<Entry>& entries, std::uint32_t nextDirectory = 0)
{
    Bytes block = {'E', 'x', 'i', 'f', 0, 0};
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            block.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    };
    block.push_back(bigEndian ? 'M' : 'I');
    block.push_back(bigEndian ? 'M' : 'I');
    put(42, 2);
    put(8, 4);
    put(static_cast<std::uint32_t>(entries.size()), 2);
    for (const Entry& entry : entries) {
        put(entry.tag, 2);
        put(entry.type, 2);
        put(entry.count, 4);
        put(entry.value, 2); // a SHORT sits in the first half of the value field
        put(0, 2);
    }
    put(nextDirectory, 4);
    return block;
}

Bytes Cut(Bytes bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

TEST(ExifOrientationTest, ReadsTheTagOrFallsBackToUpright)
{
    const Entry width{0x0100, 3, 1, 640};
    const Entry six{0x0112, 3, 1, 6};
    const struct {
        const char* what;
        Bytes block;
        int tag;
    } cases[] = {
        {"little-endian", ExifBlock(false, {width, six}), 6},
        {"big-endian", ExifBlock(true, {{0x0112, 3, 1, 8}}), 8},
        {"no Orientation tag", ExifBlock(false, {width}), 1},
        {"value out of range", ExifBlock(false, {{0x0112, 3, 1, 9}}), 1},
        {"value zero", ExifBlock(false, {{0x0112, 3, 1, 0}}), 1},
        {"not a SHORT", ExifBlock(false, {{0x0112, 4, 1, 6}}), 1},
        {"several values", ExifBlock(false, {{0x0112, 3, 2, 6}}), 1},
        {"cut inside the tag's entry", Cut(ExifBlock(false, {width, six}), 6 + 8 + 2 + 12 + 6), 1},
        {"cut inside the header", Cut(ExifBlock(false, {six}), 9), 1},
        {"directory linking to itself", ExifBlock(false, {width}, 8), 1},
        {"XMP, not Exif", Bytes{'h', 't', 't', 'p', ':', '/', '/'}, 1},
        {"empty", Bytes{}, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(ExifOrientationTag(c.block), c.tag) << c.what;

    // A directory that claims 65535 entries, or lies beyond the block.
    Bytes many = ExifBlock(false, {width});
    many[6 + 8] = many[6 + 9] = 0xFF;
    EXPECT_EQ(ExifOrientationTag(many), 1);
    Bytes far = ExifBlock(false, {six});
    far[6 + 4] = 0xF0;
    far[6 + 7] = 0xFF;
    EXPECT_EQ(ExifOrientationTag(far), 1);
}

// Four quadrants, red, green / blue, white, stored 48 x 24, with an APP1 block if given.
Bytes QuadrantJpeg(const Bytes& app1)
{
    const auto sample = [](int x, int y, int channel) {
        const bool right = x >= 24, bottom = y >= 12;
        const bool lit[3] = {!bottom && !right, !bottom && right, bottom && !right};
        return bottom && right ? 255 : lit[channel] ? 255 : 0;
    };
    JpegRecipe recipe;
    recipe.width = 48;
    recipe.height = 24;
    recipe.sample = sample;
    recipe.quality = 100;
    recipe.fullChroma = true;
    recipe.app1 = app1;
    return EncodeJpeg(recipe);
}

// The quadrant colour nearest to a pixel: 'R', 'G', 'B' or 'W'.
char Quadrant(Pixel pixel)
{
    const bool r = ((pixel >> 16) & 0xFF) > 128, g = ((pixel >> 8) & 0xFF) > 128, b = (pixel & 0xFF) > 128;
    return r && g && b ? 'W' : r ? 'R' : g ? 'G' : b ? 'B' : '?';
}

TEST(ExifOrientationTest, EveryTagShowsThePhotoUprightExactlyAsFittedFromTheFullPicture)
{
    // What the upright picture's corners show, top-left, top-right, bottom-left, bottom-right.
    const struct {
        int tag;
        const char* corners;
    } cases[] = {
        {1, "RGBW"}, {2, "GRWB"}, {3, "WBGR"}, {4, "BWRG"},
        {5, "RBGW"}, {6, "BRWG"}, {7, "WGBR"}, {8, "GWRB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("orientation " + std::to_string(c.tag));
        const Bytes jpeg = QuadrantJpeg(ExifBlock(c.tag % 2 == 0, {{0x0112, 3, 1, static_cast<std::uint32_t>(c.tag)}}));
        Size asked{};
        const Bitmap full = LoadFittedImage(jpeg, ImageFormat::Jpeg, [&](Size s) { return asked = s; });
        EXPECT_EQ(asked, c.tag >= 5 ? Size(24, 48) : Size(48, 24));
        ASSERT_EQ(full.GetSize(), asked);
        const std::string corners = {Quadrant(full.At(0, 0)), Quadrant(full.At(full.Width() - 1, 0)),
                                     Quadrant(full.At(0, full.Height() - 1)),
                                     Quadrant(full.At(full.Width() - 1, full.Height() - 1))};
        EXPECT_EQ(corners, c.corners);
        for (const Size fitted : {Size{7, 5}, Size{13, 31}, Size{60, 90}, Size{1, 1}}) {
            const Bitmap loaded = LoadFittedImage(jpeg, ImageFormat::Jpeg, [&](Size) { return fitted; });
            EXPECT_TRUE(SamePixels(loaded, DecodeThenStretch(jpeg, ImageFormat::Jpeg, fitted)))
                << fitted.width << "x" << fitted.height;
        }
    }
}

TEST(ExifOrientationTest, ExifWithoutTheTagLeavesThePhotoAsStored)
{
    const Bitmap plain = LoadFittedImage(QuadrantJpeg({}), ImageFormat::Jpeg, kFullSize);
    const Bitmap tagless = LoadFittedImage(QuadrantJpeg(ExifBlock(false, {{0x0100, 3, 1, 48}})), ImageFormat::Jpeg, kFullSize);
    EXPECT_TRUE(SamePixels(tagless, plain));
}

} // namespace
