// A long run of slide steps with real photos on the virtual clock: the heap ends where it stood
// after the first hundred steps.
#include <gtest/gtest.h>

#include <optional>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/random_generator.h"
#include "slideshow/slideshow_window.h"
#include "unit/test_support/scripted_ui_host.h"
#include "unit/test_support/trace_capture.h"

namespace {

// Bytes the C heap has handed out and not taken back, where the C library says so; the
// sanitizers keep their own heap.
std::optional<std::size_t> HeapInUse()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    return mallinfo2().uordblks;
#else
    return std::nullopt;
#endif
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSteps = 1000;
#else
constexpr int kSteps = 10000;
#endif

TEST(SlideShowSoak, ManyStepsLeaveTheHeapAsItWas)
{
    const std::string images = std::string(TOVELIN_TEST_DATA_DIR) + "/images/";
    ScriptedUiHost host({96, 64});
    TfrmMain window(host);
    window.SetClientSize({96, 64});
    window.m_ScreenBitmap->SetSize(96, 64);
    window.m_InfoBitmap = std::make_unique<Bitmap>(86, 100, kWhite);
    window.m_FadeOutLastPhoto = true;
    window.m_OsVersion.platformId = kPlatformNt;
    *window.m_PhotoList = {images + "colour_420.jpg", images + "tall_progressive.jpg", images + "win3_24bit.bmp",
                           images + "win3_8bit_rle.bmp", images + "missing.jpg"};
    host.OpenFullScreenWindow(window, false);
    SetRandomSeed(7);

    // The clock's second changes every ten steps, from the start: not at the wall clock's whim.
    int step = 0;
    window.m_LocalTime = [&step] {
        LocalDateTime time;
        time.hour = 12;
        time.second = step / 10 % 60;
        return time;
    };
    TraceCapture quiet;
    std::optional<std::size_t> early;
    for (; step < kSteps; ++step) {
        // Now and then an arrow key cuts a fade or a transition short.
        if (step % 7 == 3) host.QueueAtWait(step % 40, ScriptedUiHost::Key{step % 2 ? vk::Left : vk::Right});
        window.Timer1Timer();
        window.Timer2Timer();
        if (step == 99) early = HeapInUse();
    }
    quiet.Stop();
    EXPECT_GT(host.PresentCount(), kSteps);
    const std::optional<std::size_t> late = HeapInUse();
    if (early && late) {
        EXPECT_LE(*late, *early + 4096) << "heap grew from " << *early << " to " << *late;
    }
}

} // namespace
