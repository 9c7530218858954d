// The pace of the animations and of the standing show on the scripted host's virtual clock:
// step deadlines, frames held back to the screen's refresh, and presents only for change.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "slideshow/slideshow_window.h"
#include "unit/test_support/pattern_bitmap.h"
#include "unit/test_support/scripted_ui_host.h"

namespace {

// A window with its bitmaps sized as FormCreate would, without starting a scanner.
struct Show {
    explicit Show(Size screen = {320, 240}) : host(screen), window(host)
    {
        window.m_OsVersion.platformId = kPlatformNt;
        window.SetClientSize(screen);
        window.m_ScreenBitmap->SetSize(screen.width, screen.height);
        window.m_InfoBitmap = std::make_unique<Bitmap>(static_cast<int>(screen.width * 0.9), 100, kWhite);
        host.OpenFullScreenWindow(window, false);
    }
    ScriptedUiHost host;
    TfrmMain window;
};

struct PaceCase {
    const char* name;
    std::vector<int> workMs;     // each step's work after its wait
    int pausedAtWait;            // a paint arrives in this wait (-1: none)
    std::vector<int> expectedMs; // how long each wait lasted
};

void PrintTo(const PaceCase& c, std::ostream* os) { *os << c.name; }

class StepPace : public testing::TestWithParam<PaceCase> {};

TEST_P(StepPace, EachWaitEndsAtItsStepsDeadline)
{
    const PaceCase& c = GetParam();
    Show show;
    if (c.pausedAtWait >= 0) show.host.QueueAtWait(c.pausedAtWait, ScriptedUiHost::PaintRequest{});
    show.window.AnimationStarts();
    std::vector<int> waited;
    for (const int work : c.workMs) {
        const std::int64_t before = show.host.Now();
        ASSERT_TRUE(show.window.WaitStep());
        waited.push_back(static_cast<int>(show.host.Now() - before));
        show.host.Advance(work);
    }
    EXPECT_EQ(waited, c.expectedMs);
}

INSTANTIATE_TEST_SUITE_P(, StepPace, testing::Values(
    PaceCase{"NoWorkWaitsFiveEach", {0, 0, 0, 0}, -1, {5, 5, 5, 5}},
    PaceCase{"WorkCountsTowardTheWait", {2, 2, 4, 1}, -1, {5, 3, 3, 1}},
    PaceCase{"ASlowStepLeavesNoWaitUntilCaughtUp", {12, 1, 1, 1}, -1, {5, 0, 0, 1}},
    PaceCase{"AFastStepWaitsOutItsDeadline", {4, 0, 0}, -1, {5, 1, 5}},
    PaceCase{"NeverMoreThanOneWaitLength", {0, 0, 0}, 1, {5, 0, 5}},
    PaceCase{"InputEndsAWaitEarly", {0, 0, 0, 0}, 2, {5, 5, 0, 5}}));

TEST(AnimationPace, ANewAnimationStartsItsOwnPace)
{
    Show show;
    show.window.AnimationStarts();
    ASSERT_TRUE(show.window.WaitStep());
    show.host.Advance(40);
    show.window.AnimationStarts();
    const std::int64_t before = show.host.Now();
    ASSERT_TRUE(show.window.WaitStep());
    EXPECT_EQ(show.host.Now() - before, 5);
}

} // namespace

namespace {

struct RefreshCase {
    const char* name;
    double hertz;
    std::vector<std::int64_t> presentedAt; // 20 steps of 5 ms, the last at 100 ms
};

void PrintTo(const RefreshCase& c, std::ostream* os) { *os << c.name; }

class FramesPerRefresh : public testing::TestWithParam<RefreshCase> {};

TEST_P(FramesPerRefresh, AtMostOneFrameARefreshAndAlwaysTheLast)
{
    const RefreshCase& c = GetParam();
    Show show;
    show.host.SetRefreshRate(c.hertz);
    *show.window.m_PhotoBitmap = MakePattern(320, 240, 1);
    *show.window.m_BackBuffer = MakePattern(320, 240, 2);
    show.window.AnimationStarts();
    constexpr int kSteps = 20;
    for (int step = 0; step < kSteps; ++step) {
        ASSERT_TRUE(show.window.WaitStep());
        show.window.m_BackBuffer->At(step, 0) = 0x00FF0000u + static_cast<Pixel>(step);
        show.window.PresentStep(step == kSteps - 1);
    }
    EXPECT_EQ(show.host.PresentTimes(), c.presentedAt);
    // The screen shows every step's drawing, the last included.
    EXPECT_EQ(show.host.LastFrame().At(kSteps - 1, 0), 0x00FF0000u + kSteps - 1);
}

INSTANTIATE_TEST_SUITE_P(, FramesPerRefresh, testing::Values(
    RefreshCase{"Sixty", 60, {5, 25, 45, 65, 85, 100}},
    RefreshCase{"Thirty", 30, {5, 40, 75, 100}},
    RefreshCase{"Hundred", 100, {5, 15, 25, 35, 45, 55, 65, 75, 85, 95, 100}},
    RefreshCase{"FasterThanTheStepsShowsEvery", 250,
                {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100}},
    RefreshCase{"UnknownRateCountsAsSixty", 0, {5, 25, 45, 65, 85, 100}}));

} // namespace
