// The drawing work of the transitions, the fade and the blend, without the 5 ms waits.
#include <benchmark/benchmark.h>

#include "gfx/bitmap.h"
#include "gfx/raster.h"
#include "slideshow/fade_out.h"
#include "slideshow/transitions.h"

namespace {

class NoWaitHost : public EffectHost {
public:
    bool WaitStep() override { return true; }
    void PresentFrame() override { ++m_Frames; }
    int Frames() const { return m_Frames; }

private:
    int m_Frames = 0;
};

Bitmap Gradient(int width, int height)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.At(x, y) = MakePixel(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                        static_cast<std::uint8_t>(x + y));
        }
    }
    return bitmap;
}

void BM_Transition(benchmark::State& state)
{
    const auto style = static_cast<unsigned>(state.range(0));
    const Bitmap photo = Gradient(1920, 1080);
    Bitmap back(1920, 1080, kBlack);
    NoWaitHost host;
    for (auto _ : state) {
        TransitionEffects(host, photo, back).RunEffect(style);
        benchmark::DoNotOptimize(back.Data());
    }
    state.SetLabel(std::string(TransitionEffects::EffectName(style)));
    state.counters["steps"] = static_cast<double>(host.Frames()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Transition)->DenseRange(0, 12)->Unit(benchmark::kMillisecond);

void BM_FadeOutPhoto(benchmark::State& state)
{
    const Bitmap original = Gradient(1920, 1080);
    Bitmap photo = original;
    Bitmap back(1920, 1080, kBlack);
    NoWaitHost host;
    for (auto _ : state) {
        state.PauseTiming();
        CopyBlock(photo, photo.Bounds(), original, Point{0, 0});
        state.ResumeTiming();
        FadeOutPhoto(host, photo, back);
        benchmark::DoNotOptimize(back.Data());
    }
}
BENCHMARK(BM_FadeOutPhoto)->Unit(benchmark::kMillisecond);

void BM_BlendInfoBand(benchmark::State& state)
{
    const Bitmap band(1728, 100, kWhite);
    Bitmap screen = Gradient(1920, 1080);
    for (auto _ : state) {
        BlendBlock(screen, Rect{96, 880, 1728, 100}, band, Point{0, 0}, 90);
        benchmark::DoNotOptimize(screen.Data());
    }
}
BENCHMARK(BM_BlendInfoBand)->Unit(benchmark::kMicrosecond);

void BM_CopyFullFrame(benchmark::State& state)
{
    const Bitmap photo = Gradient(1920, 1080);
    Bitmap back(1920, 1080, kBlack);
    for (auto _ : state) {
        CopyBlock(back, back.Bounds(), photo, Point{0, 0});
        benchmark::DoNotOptimize(back.Data());
    }
}
BENCHMARK(BM_CopyFullFrame)->Unit(benchmark::kMicrosecond);

void BM_StretchDown(benchmark::State& state)
{
    const Bitmap photo = Gradient(4000, 3000);
    Bitmap out(1440, 1080, kBlack);
    for (auto _ : state) {
        StretchCopy(out, out.Bounds(), photo, photo.Bounds());
        benchmark::DoNotOptimize(out.Data());
    }
}
BENCHMARK(BM_StretchDown)->Unit(benchmark::kMillisecond);

} // namespace
