#include "slideshow/transitions.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "gfx/raster.h"
#include "unit/test_support/pattern_bitmap.h"
#include "unit/test_support/recording_host.h"

namespace {

enum Style : unsigned {
    kInterlacedSlide,
    kBandSlide,
    kSlideFromLeft,
    kSlideFromTopRight,
    kLeftBandDrop,
    kRowsToCentre,
    kColumnsToCentre,
    kHorizontalBlinds,
    kVerticalBlinds,
    kOpenFromCentre,
    kBoxFromCentre,
    kDissolve,
    kNineTiles,
};

int StepCount(unsigned style, Size size)
{
    const int W = size.width;
    const int H = size.height;
    switch (style) {
    case kInterlacedSlide:
    case kRowsToCentre: return H / 2 + 1;
    case kBandSlide:
    case kSlideFromLeft:
    case kSlideFromTopRight:
    case kLeftBandDrop: return W + 1;
    case kColumnsToCentre:
    case kOpenFromCentre:
    case kBoxFromCentre: return W / 2 + 1;
    case kHorizontalBlinds: return H / 16 + 1;
    case kVerticalBlinds: return W / 16 + 1;
    case kDissolve: return 128;
    case kNineTiles: return W / 3 + 2;
    default: return 0;
    }
}

// One transition run on a fresh photo over a fresh entry picture of the same size.
struct EffectRun {
    explicit EffectRun(Size size) : photo(MakePattern(size.width, size.height, 1)), back(MakePattern(size.width, size.height, 2)),
                              entry(back), host(back)
    {
    }
    void Effect(unsigned style) { TransitionEffects(host, photo, back).RunEffect(style); }

    const Bitmap photo;
    Bitmap back;
    const Bitmap entry;
    RecordingHost host;
};

// Where the photo shows after a step: the photo position for a back-buffer position, or
// nothing where the entry picture still shows.
using Model = std::function<std::optional<Point>(int x, int y)>;

Bitmap Expected(const EffectRun& run, const Model& model)
{
    Bitmap expected = run.entry;
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            if (const auto from = model(x, y)) expected.At(x, y) = run.photo.At(from->x, from->y);
        }
    }
    return expected;
}

std::optional<Point> InPlace(int x, int y, bool shown)
{
    return shown ? std::optional<Point>{Point{x, y}} : std::nullopt;
}

// The picture after step i of the effects whose geometry is simple enough to state per pixel.
std::optional<Model> ModelAfterStep(unsigned style, Size size, int i)
{
    const int W = size.width;
    const int H = size.height;
    switch (style) {
    case kInterlacedSlide: // i is the counter k
        return [=](int x, int y) -> std::optional<Point> {
            const bool fromTop = y % 2 == 1 && y <= i - 1;
            const bool fromBottom = y >= H - i && (y - (H - i)) % 2 == 0 && y <= H - 2;
            // With an odd height the bands share rows; the copy made later wins, which is the
            // one from the top above the middle row.
            if (fromTop && (!fromBottom || y < (H - 1) / 2)) return Point{x, H - i + y};
            if (fromBottom) return Point{x, y - (H - i)};
            return std::nullopt;
        };
    case kBandSlide:
        return [=](int x, int y) -> std::optional<Point> {
            const int q = H / 4;
            const bool left = y < q || (y >= H / 2 && y < H / 2 + q);
            const bool right = (y >= q && y < 2 * q) || (y >= (3 * H) / 4 && y < (3 * H) / 4 + q);
            if (left && x < i) return Point{W - i + x, y};
            if (right && x >= W - i) return Point{x - (W - i), y};
            return std::nullopt;
        };
    case kSlideFromLeft:
        return [=](int x, int y) { return x < i ? std::optional<Point>{Point{W - i + x, y}} : std::nullopt; };
    case kSlideFromTopRight:
        return [=](int x, int y) -> std::optional<Point> {
            const int c = i * H / W;
            if (x >= W - i && y < c) return Point{x - (W - i), H - c + y};
            return std::nullopt;
        };
    case kLeftBandDrop:
        return [=](int x, int y) -> std::optional<Point> {
            if (x < i && y + W - i < H) return Point{x, y + W - i};
            return std::nullopt;
        };
    case kRowsToCentre: return [=](int x, int y) { return InPlace(x, y, y <= i || y >= H - i); };
    case kColumnsToCentre: return [=](int x, int y) { return InPlace(x, y, x <= i || x >= W - i); };
    case kHorizontalBlinds:
        return [=](int x, int y) {
            const int s = H / 16;
            bool shown = false;
            for (int j = 0; j <= 16; ++j) shown = shown || (y >= j * s - 1 && y <= j * s + i - 1);
            return InPlace(x, y, shown);
        };
    case kVerticalBlinds:
        return [=](int x, int y) {
            const int s = W / 16;
            bool shown = false;
            for (int j = 0; j <= 16; ++j) shown = shown || (x >= j * s - 1 && x <= j * s + i - 1);
            return InPlace(x, y, shown);
        };
    case kOpenFromCentre: return [=](int x, int y) { return InPlace(x, y, x >= W / 2 - i && x < W / 2 + i); };
    case kBoxFromCentre:
        return [=](int x, int y) {
            const int a = i * H / W;
            return InPlace(x, y, x >= W / 2 - i && x < W / 2 + i && y >= H / 2 - a && y < H / 2 + a);
        };
    default: return std::nullopt;
    }
}

const std::vector<Size> kSizes{{1, 1},   {1, 9},   {9, 1},   {2, 2},   {3, 5},   {15, 15},  {16, 16},
                               {17, 13}, {37, 29}, {64, 48}, {48, 64}, {241, 239}, {401, 301}};

} // namespace

TEST(RunEffect, StepCountsAt1024x768)
{
    const std::vector<int> expected{385, 1025, 1025, 1025, 1025, 385, 513, 49, 65, 513, 513, 128, 343};
    for (unsigned style = 0; style < TransitionEffects::kEffectCount; ++style) {
        EffectRun run(Size{1024, 768});
        run.Effect(style);
        EXPECT_EQ(run.host.Waits(), expected[style]) << TransitionEffects::EffectName(style);
        EXPECT_EQ(run.host.Frames(), expected[style]) << TransitionEffects::EffectName(style);
        EXPECT_EQ(run.back, run.photo) << TransitionEffects::EffectName(style);
    }
}

TEST(RunEffect, EveryEffectEndsWithExactlyThePhotoAtEverySize)
{
    for (const Size size : kSizes) {
        for (unsigned style = 0; style < TransitionEffects::kEffectCount; ++style) {
            EffectRun run(size);
            run.Effect(style);
            const auto name = TransitionEffects::EffectName(style);
            ASSERT_EQ(run.host.Frames(), StepCount(style, size)) << name << " " << size.width << "x" << size.height;
            ASSERT_EQ(run.host.Waits(), StepCount(style, size)) << name << " " << size.width << "x" << size.height;
            ASSERT_EQ(run.back, run.photo) << name << " " << size.width << "x" << size.height;
            ASSERT_EQ(run.host.LastSteps(), std::vector<int>{run.host.Frames() - 1}) << name;
        }
    }
}

TEST(RunEffect, StepsShowTheGeometryOfEachEffect)
{
    for (const Size size : {Size{64, 48}, Size{48, 64}, Size{37, 40}, Size{50, 42}, Size{45, 35}}) {
        for (unsigned style = 0; style < TransitionEffects::kEffectCount; ++style) {
            if (!ModelAfterStep(style, size, 0)) continue;
            EffectRun run(size);
            run.host.KeepAll();
            run.Effect(style);
            const int stride = style == kInterlacedSlide ? 2 : 1;
            for (int frame = 0; frame < run.host.Frames(); ++frame) {
                const Bitmap expected = Expected(run, *ModelAfterStep(style, size, frame * stride));
                ASSERT_EQ(run.host.Kept(frame), expected)
                    << TransitionEffects::EffectName(style) << " " << size.width << "x" << size.height << " step "
                    << frame * stride;
            }
        }
    }
}

TEST(RunEffect, StepZeroShowsTheEntryPicture)
{
    for (const unsigned style : {kInterlacedSlide, kBandSlide, kSlideFromLeft, kSlideFromTopRight, kLeftBandDrop,
                                 kOpenFromCentre, kBoxFromCentre, kDissolve, kNineTiles}) {
        for (const Size size : {Size{1024, 768}, Size{400, 300}}) {
            EffectRun run(size);
            run.host.StopBefore(1);
            run.Effect(style);
            EXPECT_EQ(run.host.Frames(), 1);
            EXPECT_EQ(run.back, run.entry) << TransitionEffects::EffectName(style);
        }
    }
    EffectRun rows(Size{400, 300});
    rows.host.StopBefore(1);
    rows.Effect(kRowsToCentre);
    EXPECT_EQ(rows.back, Expected(rows, [](int x, int y) { return InPlace(x, y, y == 0); }));

    EffectRun columns(Size{400, 300});
    columns.host.StopBefore(1);
    columns.Effect(kColumnsToCentre);
    EXPECT_EQ(columns.back, Expected(columns, [](int x, int y) { return InPlace(x, y, x == 0); }));
}

TEST(RunEffect, StopBeforeTheFirstStepChangesAndPresentsNothing)
{
    for (unsigned style = 0; style < TransitionEffects::kEffectCount; ++style) {
        EffectRun run(Size{37, 29});
        run.host.StopBefore(0);
        run.Effect(style);
        EXPECT_EQ(run.host.Waits(), 1);
        EXPECT_EQ(run.host.Frames(), 0);
        EXPECT_EQ(run.back, run.entry) << TransitionEffects::EffectName(style);
    }
}

TEST(RunEffect, StopBeforeStepKLeavesThePictureOfStepKMinusOne)
{
    for (const Size size : {Size{64, 48}, Size{37, 29}, Size{400, 300}}) {
        for (unsigned style = 0; style < TransitionEffects::kEffectCount; ++style) {
            const int steps = StepCount(style, size);
            for (const int k : {1, 2, steps / 2, steps - 1}) {
                if (k < 1 || k >= steps) continue;
                EffectRun full(size);
                full.host.Keep(k - 1);
                full.Effect(style);

                EffectRun stopped(size);
                stopped.host.StopBefore(k);
                stopped.Effect(style);
                const auto name = TransitionEffects::EffectName(style);
                ASSERT_EQ(stopped.host.Waits(), k + 1) << name << " k=" << k;
                ASSERT_EQ(stopped.host.Frames(), k) << name << " k=" << k;
                ASSERT_TRUE(stopped.host.LastSteps().empty()) << name << " k=" << k;
                ASSERT_EQ(stopped.back, full.host.Kept(k - 1)) << name << " k=" << k;
            }
        }
    }
}

TEST(RunEffect, LeftBandDropStaysUnchangedUntilTheBandReachesThePhoto)
{
    EffectRun run(Size{1024, 768});
    run.host.Keep(256);
    run.host.Keep(257);
    run.host.StopBefore(258);
    run.Effect(kLeftBandDrop);
    EXPECT_EQ(run.host.Kept(256), run.entry);
    // At i = 257 only the top row of the 257 columns changes, showing the photo's bottom row.
    EXPECT_EQ(run.host.Kept(257),
              Expected(run, [](int x, int y) -> std::optional<Point> {
                  if (y == 0 && x < 257) return Point{x, 767};
                  return std::nullopt;
              }));
}

TEST(RunEffect, DissolveBlendsCumulativelyUpToAlpha254)
{
    EffectRun run(Size{5, 3});
    run.host.KeepAll();
    run.Effect(kDissolve);
    ASSERT_EQ(run.host.Frames(), 128);
    EXPECT_EQ(run.host.Kept(0), run.entry);
    for (int step = 1; step < 128; ++step) {
        const Bitmap& before = run.host.Kept(step - 1);
        const Bitmap& after = run.host.Kept(step);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                Pixel expected = before.At(x, y) & 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int s = static_cast<int>((run.photo.At(x, y) >> shift) & 0xFF);
                    const int d = static_cast<int>((before.At(x, y) >> shift) & 0xFF);
                    expected |= static_cast<Pixel>((s * 2 * step + d * (255 - 2 * step) + 127) / 255) << shift;
                }
                ASSERT_EQ(after.At(x, y), expected) << "step " << step << " at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(run.back, run.photo);
}

TEST(RunEffect, NineTilesSlideTheTilesAsDescribedAt1024x768)
{
    EffectRun run(Size{1024, 768});
    run.host.Keep(100);
    run.host.Keep(342);
    run.Effect(kNineTiles);
    const auto photo = [&](int x, int y) { return run.photo.At(x, y); };

    // Step 100: tile width 100, height round(75) = 75.
    const Bitmap& middle = run.host.Kept(100);
    EXPECT_EQ(middle.At(10, 10), photo(251, 191));   // top left, from (T - i, U - c)
    EXPECT_EQ(middle.At(500, 10), photo(500, 191));  // top middle
    EXPECT_EQ(middle.At(934, 266), photo(692, 266)); // middle right, full tile height
    EXPECT_EQ(middle.At(934, 500), photo(692, 500));
    EXPECT_EQ(middle.At(10, 500), photo(251, 500));  // middle left
    EXPECT_EQ(middle.At(10, 700), photo(251, 519));  // bottom left, reaching past the bottom
    EXPECT_EQ(middle.At(400, 700), photo(400, 519)); // bottom middle
    EXPECT_EQ(middle.At(500, 400), photo(500, 400)); // centre, in place
    EXPECT_EQ(middle.At(200, 200), run.entry.At(200, 200));

    // Last step, i = 342, c = 257: tiles rest one pixel off, except the middle right and centre.
    const Bitmap& last = run.host.Kept(342);
    EXPECT_EQ(last.At(100, 100), photo(99, 99));
    EXPECT_EQ(last.At(400, 100), photo(400, 99));
    EXPECT_EQ(last.At(900, 100), photo(900, 99));
    EXPECT_EQ(last.At(100, 300), photo(99, 300));
    EXPECT_EQ(last.At(900, 300), photo(900, 300));
    EXPECT_EQ(last.At(100, 600), photo(99, 601));
    EXPECT_EQ(last.At(400, 600), photo(400, 601));
    EXPECT_EQ(last.At(900, 600), photo(900, 601));
    EXPECT_EQ(last.At(500, 400), photo(500, 400));
    // Pixels the last step cannot reach keep the previous step's picture: i = 341, c = 256.
    EXPECT_EQ(last.At(0, 100), photo(0, 100));
    EXPECT_EQ(last.At(900, 767), photo(899, 767));
    // Finished, the photo stands whole.
    EXPECT_EQ(run.back, run.photo);
}

TEST(RunEffect, NineTilesDrawsEveryStepAsItsNineCopies)
{
    // The frames against the nine copies of each step made in full on a second back buffer:
    // landscape and portrait sizes, tile heights that grow by several rows a step, and last steps
    // whose outer tiles reach into the centre tile.
    for (const Size size : {Size{64, 48}, Size{48, 64}, Size{37, 37}, Size{31, 90}, Size{90, 31}, Size{302, 200}}) {
        EffectRun run(size);
        run.host.KeepAll();
        run.Effect(kNineTiles);
        const int W = size.width;
        const int H = size.height;
        const int T = W / 3;
        const int U = H / 3;
        Bitmap expected = run.entry;
        ASSERT_EQ(run.host.Frames(), T + 2);
        for (int i = 0; i <= T + 1; ++i) {
            const int c = static_cast<int>((2 * i * H + W) / (2 * W));
            const struct {
                Rect to;
                Point from;
            } copies[] = {
                {{0, 0, i, c}, {T - i, U - c}},           {{T, 0, T, c}, {T, U - c}},
                {{W - i, 0, i, c}, {(2 * W) / 3, U - c}}, {{0, U, i, U}, {T - i, U}},
                {{W - i, U, i, U}, {(2 * W) / 3, U}},     {{0, H - c, i, U}, {T - i, (2 * H) / 3}},
                {{T, H - c, T, H - c}, {T, (2 * H) / 3}}, {{W - i, H - c, i, c}, {(2 * W) / 3, (2 * H) / 3}},
                {{W / 2 - i / 2, H / 2 - c / 2, i, c}, {W / 2 - i / 2, H / 2 - c / 2}},
            };
            for (const auto& copy : copies) CopyBlock(expected, copy.to, run.photo, copy.from);
            ASSERT_EQ(run.host.Kept(i), expected) << size.width << "x" << size.height << " step " << i;
        }
    }
}

TEST(RunEffect, NineTilesBottomLeftTileKeepsItsHeightWhenTheTileGrowsPastIt)
{
    // At 37 x 37 the last step has i = 13 and c = 13 > U = 12: the bottom-left copy is 12 rows
    // high, so the bottom row keeps what step 12 (c = 12) put there.
    EffectRun run(Size{37, 37});
    run.host.Keep(13);
    run.Effect(kNineTiles);
    const Bitmap& last = run.host.Kept(13);
    EXPECT_EQ(last.At(6, 35), run.photo.At(5, 35));
    EXPECT_EQ(last.At(5, 36), run.photo.At(5, 35));
}

TEST(RunEffect, NumbersPastTheTableDoNothing)
{
    for (const unsigned style : {13u, 14u, 255u, 0x80000000u, 0xFFFFFFFFu}) {
        EffectRun run(Size{20, 10});
        run.Effect(style);
        EXPECT_EQ(run.host.Waits(), 0);
        EXPECT_EQ(run.host.Frames(), 0);
        EXPECT_EQ(run.back, run.entry);
        EXPECT_TRUE(TransitionEffects::EffectName(style).empty());
    }
    EXPECT_EQ(TransitionEffects::EffectName(12), "NineTiles");
}

TEST(RunEffect, AnErrorEndsTheEffectQuietlyWithoutFinishingThePicture)
{
    for (unsigned style = 0; style < TransitionEffects::kEffectCount; ++style) {
        EffectRun run(Size{400, 300});
        run.host.FailAt(3);
        EXPECT_NO_THROW(run.Effect(style));
        EXPECT_EQ(run.host.Waits(), 4);
        EXPECT_EQ(run.host.Frames(), 4);
        EXPECT_NE(run.back, run.photo) << TransitionEffects::EffectName(style);
    }
}

TEST(RunEffect, EmptyPhotoDoesNotCrash)
{
    for (unsigned style = 0; style < TransitionEffects::kEffectCount; ++style) {
        for (const Size size : {Size{0, 0}, Size{0, 5}, Size{5, 0}}) {
            EffectRun run(size);
            EXPECT_NO_THROW(run.Effect(style));
            EXPECT_EQ(run.host.Frames(), StepCount(style, size));
        }
    }
}
