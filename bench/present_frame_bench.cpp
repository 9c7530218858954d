// The composition of a screen frame with every overlay option on, against a plain copy of a
// whole frame at the same size. Text is a cheap stand-in: the OS's text costs come on top.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

#include "gfx/bitmap.h"
#include "slideshow/frame_composer.h"
#include "slideshow/info_overlay.h"

namespace {

Bitmap Gradient(int width, int height, int seed)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.At(x, y) = MakePixel(static_cast<std::uint8_t>(x + seed), static_cast<std::uint8_t>(y),
                                        static_cast<std::uint8_t>(x + y + seed));
        }
    }
    return bitmap;
}

// Darkens a small box a character, as glyphs would.
void StandInText(Bitmap& frame, const OverlayLine& line)
{
    const int height = line.points + 3;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
        const Rect box = Rect{line.at.x + 7 * static_cast<int>(i), line.at.y, 5, height}.Intersected(frame.Bounds());
        for (int y = box.y; y < box.Bottom(); ++y) {
            Pixel* row = frame.Row(y);
            for (int x = box.x; x < box.Right(); ++x) row[x] = (row[x] >> 1) & 0x7F7F7F;
        }
    }
}

// A screen, its band, a photo of the given width fitted to the screen's height, and the lines.
struct Scene {
    Scene(int width, int height, int photoWidth)
        : frame(width, height, kBlack), band(InfoBitmapSize(width).width, kInfoBandHeight, kWhite),
          photos{Gradient(photoWidth, height, 0), Gradient(photoWidth, height, 77)}
    {
        bandArea = InfoBandArea(frame.GetSize(), band.GetSize());
        values = OverlayValues{"/home/user/Pictures/Holidays/2024/Beach/IMG_20240612_181522.jpg",
                               "/home/user/Music/Album/Track 07.mp3", 12345, 678, "12:34:56"};
    }
    FrameLayout Layout(int photo) const
    {
        return FrameLayout{&photos[photo], CentredAt(frame.GetSize(), photos[photo].GetSize()), true, &band, bandArea};
    }
    std::vector<OverlayLine> Lines() const
    {
        return OverlayLines(Point{bandArea.x, bandArea.y}, OverlayOptions{true, true, true}, values);
    }

    Bitmap frame;
    Bitmap band;
    Bitmap photos[2];
    Rect bandArea;
    OverlayValues values;
};

void SetLabel(benchmark::State& state)
{
    state.SetLabel(std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)) + " photo " +
                   std::to_string(state.range(2)) + " wide");
}

void Sizes(benchmark::internal::Benchmark* bench)
{
    bench->Args({1920, 1080, 1920})->Args({1920, 1080, 1440})->Args({3840, 2160, 3840})->Unit(benchmark::kMicrosecond);
}

double Seconds(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// The fastest of a few whole-frame copies: the yardstick for the "x_copy" counters, which give
// the fastest iteration over it, so that a loaded machine skews both alike.
double BestFrameCopy(const Bitmap& like)
{
    const Bitmap from = like;
    Bitmap to(like.Width(), like.Height(), kBlack);
    double best = 1e9;
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(to.Data(), from.Data(), static_cast<std::size_t>(from.Width()) * from.Height() * sizeof(Pixel));
        benchmark::DoNotOptimize(to.Data());
        best = std::min(best, Seconds(start));
    }
    return best;
}

// The yardstick: one copy of a whole frame.
void BM_FullScreenCopy(benchmark::State& state)
{
    const Bitmap from = Gradient(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 0);
    Bitmap to(from.Width(), from.Height(), kBlack);
    const std::size_t bytes = static_cast<std::size_t>(from.Width()) * from.Height() * sizeof(Pixel);
    for (auto _ : state) {
        std::memcpy(to.Data(), from.Data(), bytes);
        benchmark::DoNotOptimize(to.Data());
        benchmark::ClobberMemory();
    }
    SetLabel(state);
}
BENCHMARK(BM_FullScreenCopy)->Apply(Sizes);

// Every frame built from scratch: fill, copy, blend, text.
void BM_ComposeFrameFromScratch(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    const auto lines = scene.Lines();
    double best = 1e9;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        ComposeFrame(scene.frame, scene.Layout(0), lines, StandInText);
        benchmark::DoNotOptimize(scene.frame.Data());
        best = std::min(best, Seconds(start));
    }
    state.counters["x_copy"] = best / BestFrameCopy(scene.frame);
    SetLabel(state);
}
BENCHMARK(BM_ComposeFrameFromScratch)->Apply(Sizes);

// Runs the composer over frames that differ as `vary` says; reports the share of the frame
// that would be shown again.
template <typename Vary>
void RunComposer(benchmark::State& state, Vary vary)
{
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    FrameComposer composer;
    composer.Compose(scene.frame, scene.Layout(0), [&] { return scene.Lines(); }, StandInText);
    double changedPixels = 0;
    double best = 1e9;
    int frame = 0;
    for (auto _ : state) {
        ++frame;
        const auto start = std::chrono::steady_clock::now();
        const int photo = vary(scene, frame);
        const Rect changed =
            composer.Compose(scene.frame, scene.Layout(photo), [&] { return scene.Lines(); }, StandInText);
        benchmark::DoNotOptimize(scene.frame.Data());
        best = std::min(best, Seconds(start));
        changedPixels += static_cast<double>(changed.width) * changed.height;
    }
    const double framePixels = static_cast<double>(scene.frame.Width()) * scene.frame.Height();
    state.counters["shown"] = changedPixels / framePixels / static_cast<double>(state.iterations());
    state.counters["x_copy"] = best / BestFrameCopy(scene.frame);
    SetLabel(state);
}

// Between slides: the same photo and lines, ten times a second.
void BM_PresentStandingFrame(benchmark::State& state)
{
    RunComposer(state, [](Scene&, int) { return 0; });
}
BENCHMARK(BM_PresentStandingFrame)->Apply(Sizes);

// Between slides, the second a clock shows has just changed.
void BM_PresentClockTick(benchmark::State& state)
{
    RunComposer(state, [](Scene& scene, int frame) {
        scene.values.clock = frame % 2 ? "12:34:57" : "12:34:56";
        return 0;
    });
}
BENCHMARK(BM_PresentClockTick)->Apply(Sizes);

// A transition step in which every pixel of the photo changes.
void BM_PresentTransitionStep(benchmark::State& state)
{
    RunComposer(state, [](Scene&, int frame) { return frame % 2; });
}
BENCHMARK(BM_PresentTransitionStep)->Apply(Sizes);

} // namespace
