// The drawing time of each step of every transition and of the fade, at full-screen sizes, as a
// ratio to one full-frame memcpy timed in the same run: the counters worst_x_memcpy (the
// slowest step) and mean_x_memcpy (the average step). A step's time runs from the return of
// WaitStep to the call of PresentFrame. Every step index keeps its fastest time over the
// iterations, and the memcpy its fastest over repeated copies, so that a step disturbed by
// another process on the machine does not count as the slowest.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/raster.h"
#include "slideshow/fade_out.h"
#include "slideshow/transitions.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFade = static_cast<int>(TransitionEffects::kEffectCount);

class StepTimingHost : public EffectHost {
public:
    void BeginRun() { m_Step = 0; }

    bool WaitStep() override
    {
        m_Start = Clock::now();
        return true;
    }

    void PresentFrame() override
    {
        const double seconds = std::chrono::duration<double>(Clock::now() - m_Start).count();
        if (m_Best.size() <= m_Step) m_Best.resize(m_Step + 1, std::numeric_limits<double>::infinity());
        m_Best[m_Step] = std::min(m_Best[m_Step], seconds);
        ++m_Step;
    }

    const std::vector<double>& BestPerStep() const { return m_Best; }

private:
    Clock::time_point m_Start;
    std::size_t m_Step = 0;
    std::vector<double> m_Best;
};

Bitmap Gradient(int width, int height, int shift)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.At(x, y) = MakePixel(static_cast<std::uint8_t>(x + shift), static_cast<std::uint8_t>(y),
                                        static_cast<std::uint8_t>(x + y + shift));
        }
    }
    return bitmap;
}

// The fastest of several plain copies of one frame between two buffers of their own.
double FrameMemcpySeconds(std::size_t pixels)
{
    std::vector<Pixel> from(pixels, 0x00123456u);
    std::vector<Pixel> to(pixels, 0);
    double best = std::numeric_limits<double>::infinity();
    for (int n = 0; n < 8; ++n) {
        const auto start = Clock::now();
        std::memcpy(to.data(), from.data(), pixels * sizeof(Pixel));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void BM_EffectSteps(benchmark::State& state)
{
    const int style = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const int height = static_cast<int>(state.range(2));
    const Bitmap original = Gradient(width, height, 0);
    const Bitmap entry = Gradient(width, height, 77);
    Bitmap photo = original;
    Bitmap back = entry;
    StepTimingHost host;
    double memcpySeconds = FrameMemcpySeconds(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));

    for (auto _ : state) {
        state.PauseTiming();
        CopyBlock(back, back.Bounds(), entry, Point{0, 0});
        CopyBlock(photo, photo.Bounds(), original, Point{0, 0});
        host.BeginRun();
        state.ResumeTiming();
        if (style == kFade) {
            FadeOutPhoto(host, photo, back);
        } else {
            TransitionEffects(host, photo, back).RunEffect(static_cast<unsigned>(style));
        }
        benchmark::DoNotOptimize(back.Data());
    }
    memcpySeconds = std::min(memcpySeconds, FrameMemcpySeconds(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)));

    const std::vector<double>& steps = host.BestPerStep();
    const double worst = steps.empty() ? 0.0 : *std::max_element(steps.begin(), steps.end());
    const double mean = steps.empty() ? 0.0 : std::accumulate(steps.begin(), steps.end(), 0.0) / double(steps.size());
    state.counters["worst_x_memcpy"] = worst / memcpySeconds;
    state.counters["mean_x_memcpy"] = mean / memcpySeconds;
    state.counters["worst_step_ms"] = worst * 1e3;
    state.counters["memcpy_ms"] = memcpySeconds * 1e3;
    state.counters["steps"] = static_cast<double>(steps.size());
    state.SetLabel((style == kFade ? std::string("FadeOutPhoto") : std::string(TransitionEffects::EffectName(style))) +
                   " " + std::to_string(width) + "x" + std::to_string(height));
}

void EffectStepArguments(benchmark::internal::Benchmark* bench)
{
    for (const auto& [width, height] : {std::pair{3840, 2160}, std::pair{1920, 1080}}) {
        for (int style = 0; style <= kFade; ++style) bench->Args({style, width, height});
    }
}
BENCHMARK(BM_EffectSteps)->Apply(EffectStepArguments)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
