#include "slideshow/frame_composer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "gfx/raster.h"
#include "unit/test_support/pattern_bitmap.h"

namespace {

// Text as a stand-in for the OS's: each character halves the pixels of a small box, so that, as
// with antialiased glyphs, what it leaves depends on what lay beneath. Long lines run past the
// band to the frame's edge.
void HalvingText(Bitmap& frame, const OverlayLine& line)
{
    const int height = line.points + 3;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
        const Rect box = Rect{line.at.x + 7 * static_cast<int>(i), line.at.y, 5, height}.Intersected(frame.Bounds());
        for (int y = box.y; y < box.Bottom(); ++y) {
            for (int x = box.x; x < box.Right(); ++x) frame.At(x, y) = (frame.At(x, y) >> 1) & 0x7F7F7F;
        }
    }
}

// What a host shows after the presents so far: each changed rectangle copied over the last.
void Replay(Bitmap& screen, const Bitmap& frame, const Rect& changed)
{
    if (screen.GetSize() != frame.GetSize()) screen = Bitmap(frame.Width(), frame.Height(), 0x123456);
    CopyBlock(screen, changed, frame, Point{changed.x, changed.y});
}

struct Scene {
    Bitmap picture;
    Point at;
    bool overlay = true;
    Bitmap band{160, 20, kWhite};
    Rect bandArea{10, 90, 160, 20};
    std::vector<OverlayLine> lines{
        {OverlayLineKind::PhotoFile, "Ms Sans Serif", 10, {20, 91}, "photo"},
        {OverlayLineKind::Clock, "Arial", 36, {20, 100}, "10:00:00"},
    };

    FrameLayout Layout() const { return FrameLayout{&picture, at, overlay, &band, bandArea}; }
    Bitmap Reference(Size size) const
    {
        Bitmap frame(size.width, size.height, 0x654321);
        ComposeFrame(frame, Layout(), lines, HalvingText);
        return frame;
    }
};

} // namespace

TEST(ComposeFrame, BandVeilsThePictureByTheBlendOfNinetyOverWhite)
{
    // Each channel becomes (255 * 90 + c * 165 + 127) / 255; the unused byte is kept.
    const std::pair<Pixel, Pixel> cases[] = {
        {0x000000, 0x5A5A5A}, {0xFFFFFF, 0xFFFFFF}, {0x102030, 0x646F79}, {0xAB000000, 0xAB5A5A5A}};
    for (const auto& [under, veiled] : cases) {
        Bitmap picture(40, 30, under);
        Bitmap band(20, 10, kWhite);
        Bitmap frame(60, 50);
        ComposeFrame(frame, FrameLayout{&picture, {10, 10}, true, &band, {15, 20, 20, 10}}, {}, HalvingText);
        EXPECT_EQ(frame.At(15, 20), veiled) << std::hex << under;
        EXPECT_EQ(frame.At(34, 29), veiled) << std::hex << under;
        EXPECT_EQ(frame.At(14, 20), under) << std::hex << under;   // left of the band
        EXPECT_EQ(frame.At(15, 30), under) << std::hex << under;   // below it
        EXPECT_EQ(frame.At(5, 5), kBlack) << std::hex << under;    // off the picture
    }
}

TEST(FrameComposer, ShowsWhatAFreshCompositionShowsOverASequenceOfFrames)
{
    const Size size{200, 130};
    Scene scene{MakePattern(150, 110, 1), {25, 10}};
    FrameComposer composer;
    Bitmap frame(size.width, size.height, 0x777777);
    Bitmap shown;
    using Step = std::function<void(Scene&)>;
    const std::pair<const char*, Step> steps[] = {
        {"first", [](Scene&) {}},
        {"unchanged", [](Scene&) {}},
        {"clock ticks", [](Scene& s) { s.lines[1].text = "10:00:01"; }},
        {"pixel above the overlay", [](Scene& s) { s.picture.At(3, 4) = 0xFF0000; }},
        {"pixel under the band", [](Scene& s) { s.picture.At(100, 85) = 0x00FF00; }},
        {"pixel in the reach above", [](Scene& s) { s.picture.At(140, 60) = 0x0000FF; }},
        {"path runs past the edge", [](Scene& s) { s.lines[0].text = std::string(40, 'p'); }},
        {"path shrinks", [](Scene& s) { s.lines[0].text = "p"; }},
        {"overlay off", [](Scene& s) { s.overlay = false; }},
        {"picture changes without overlay", [](Scene& s) { s.picture.At(0, 109) = 0x010203; }},
        {"overlay on", [](Scene& s) { s.overlay = true; }},
        {"band gone", [](Scene& s) { s.bandArea.y = 60; }},
        {"smaller picture", [](Scene& s) { s.picture = MakePattern(81, 41, 2), s.at = {59, 44}; }},
        {"new picture, same size", [](Scene& s) { s.picture = MakePattern(81, 41, 5); }},
        {"larger than the frame", [](Scene& s) { s.picture = MakePattern(231, 151, 4), s.at = {-15, -10}; }},
        {"larger, changed", [](Scene& s) { s.picture.At(20, 20) = 0xFFFFFF, s.picture.At(20, 120) = 0xFFFFFF; }},
        {"no picture", [](Scene& s) { s.picture = Bitmap(); }},
    };
    for (const auto& [name, change] : steps) {
        change(scene);
        const Rect changed =
            composer.Compose(frame, scene.Layout(), [&] { return scene.lines; }, HalvingText);
        Replay(shown, frame, changed);
        const Bitmap expected = scene.Reference(size);
        ASSERT_EQ(frame, expected) << name;
        ASSERT_EQ(shown, expected) << name;
    }
}

TEST(FrameComposer, ReportsAndRedrawsOnlyWhatChanged)
{
    Scene scene{MakePattern(150, 110, 1), {25, 10}};
    FrameComposer composer;
    Bitmap frame(200, 130);
    int painted = 0;
    const auto compose = [&] {
        return composer.Compose(frame, scene.Layout(), [&] { return scene.lines; },
                                [&](Bitmap& f, const OverlayLine& l) { ++painted, HalvingText(f, l); });
    };
    EXPECT_EQ(compose(), frame.Bounds());
    EXPECT_EQ(painted, 2);
    // The overlay's rows start kOverlayReach above the band.
    EXPECT_TRUE(compose().IsEmpty());
    scene.picture.At(7, 12) = 1;
    EXPECT_EQ(compose(), (Rect{25, 22, 150, 1}));
    EXPECT_EQ(painted, 2);
    scene.lines[1].text = "10:00:01";
    EXPECT_EQ(compose(), (Rect{0, 58, 200, 72}));
    EXPECT_EQ(painted, 4);
    scene.picture.At(7, 12) = 2;
    scene.picture.At(7, 70) = 2;
    EXPECT_EQ(compose(), (Rect{0, 22, 200, 108}));
    EXPECT_EQ(painted, 6);
}

TEST(FrameComposer, StartsAfreshAfterFailedTextOrAnotherFrame)
{
    Scene scene{MakePattern(150, 110, 1), {25, 10}};
    FrameComposer composer;
    Bitmap frame(200, 130);
    const auto lines = [&] { return scene.lines; };
    composer.Compose(frame, scene.Layout(), lines, HalvingText);
    scene.lines[1].text = "10:00:01";
    const auto failing = [](Bitmap&, const OverlayLine&) { throw std::runtime_error("no font"); };
    EXPECT_THROW(composer.Compose(frame, scene.Layout(), lines, failing), std::runtime_error);
    EXPECT_EQ(composer.Compose(frame, scene.Layout(), lines, HalvingText), frame.Bounds());
    EXPECT_EQ(frame, scene.Reference({200, 130}));

    Bitmap other(200, 130);
    EXPECT_EQ(composer.Compose(other, scene.Layout(), lines, HalvingText), other.Bounds());
    EXPECT_EQ(other, scene.Reference({200, 130}));
    Bitmap empty;
    EXPECT_TRUE(composer.Compose(empty, scene.Layout(), lines, HalvingText).IsEmpty());
}
