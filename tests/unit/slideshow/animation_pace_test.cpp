// The pace of the animations and of the standing show on the scripted host's virtual clock:
// step deadlines, frames held back to the screen's refresh, and presents only for change.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/raster.h"
#include "platform/clock.h"
#include "slideshow/frame_composer.h"
#include "slideshow/info_overlay.h"
#include "slideshow/slideshow_window.h"
#include "unit/test_support/pattern_bitmap.h"
#include "unit/test_support/scripted_ui_host.h"

namespace {

// Draws each line as blocks of a colour its characters give, so that the pixels show what was
// drawn where; the texts are still recorded.
class MarkingHost : public ScriptedUiHost {
public:
    using ScriptedUiHost::ScriptedUiHost;
    void DrawText(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text) override
    {
        ScriptedUiHost::DrawText(target, font, topLeft, text);
        MarkText(target, font.points, topLeft, text);
    }
    static void MarkText(Bitmap& target, int points, Point topLeft, std::string_view text)
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const Rect glyph{topLeft.x + static_cast<int>(i) * 7, topLeft.y, 6, points + points / 3};
            FillRect(target, glyph.Intersected(target.Bounds()), 0x00010101u * static_cast<unsigned char>(text[i]));
        }
    }
};

// A window with its bitmaps sized as FormCreate would, without a scanner, showing a photo, its
// clock on the virtual clock.
struct Show {
    Show() : host(Size{320, 240}), window(host)
    {
        window.m_OsVersion.platformId = kPlatformNt;
        window.SetClientSize({320, 240});
        window.m_ScreenBitmap->SetSize(320, 240);
        window.m_InfoBitmap = std::make_unique<Bitmap>(288, 100, kWhite);
        *window.m_PhotoBitmap = MakePattern(300, 200, 1);
        *window.m_BackBuffer = MakePattern(300, 200, 1);
        window.m_LocalTime = [this] {
            LocalDateTime time;
            time.hour = 12;
            time.second = static_cast<int>(host.Now() / 1000 % 60);
            return time;
        };
        host.OpenFullScreenWindow(window, false);
        window.Timer1.SetEnabled(false);
    }
    // The screen as the presents' rectangles have left it.
    void Follow()
    {
        if (const auto area = host.LastChange(); area && host.PresentCount() != presents) {
            CopyBlock(shown, *area, host.LastFrame(), Point{area->x, area->y});
            presents = host.PresentCount();
        }
    }
    // The frame composed from scratch, as the screen should show it.
    Bitmap Expected() const
    {
        OverlayValues values{window.m_CurrentFile, window.m_CurrentMusicFile, window.m_PhotoList->size(),
                             window.m_MusicList->size(), {}};
        const LocalDateTime now = window.m_LocalTime();
        values.clock = FormatClock(now.hour, now.minute, now.second, TimeSeparator());
        Bitmap expected(320, 240);
        ComposeFrame(expected,
                     FrameLayout{window.m_BackBuffer.get(), CentredAt({320, 240}, {300, 200}), true,
                                 window.m_InfoBitmap.get(), Rect{16, 40, 288, 100}},
                     OverlayLines(Point{16, 40}, OverlayOptions{true, true, true}, values),
                     [](Bitmap& frame, const OverlayLine& line) {
                         MarkingHost::MarkText(frame, line.points, line.at, line.text);
                     });
        return expected;
    }

    MarkingHost host;
    TfrmMain window;
    Bitmap shown{320, 240, 0x00424242u};
    int presents = 0;
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
    ASSERT_TRUE(show.window.WaitStep());
    EXPECT_EQ(show.host.Now(), 50);
}


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
    show.window.AnimationStarts();
    constexpr int kSteps = 20;
    for (int step = 0; step < kSteps; ++step) {
        ASSERT_TRUE(show.window.WaitStep());
        show.window.m_BackBuffer->At(step, 0) = 0x00FF0000u + static_cast<Pixel>(step);
        show.window.PresentStep(step == kSteps - 1);
    }
    EXPECT_EQ(show.host.PresentTimes(), c.presentedAt);
    // The screen shows every step's drawing, the last included.
    EXPECT_EQ(show.host.LastFrame().At(10 + kSteps - 1, 20), 0x00FF0000u + kSteps - 1);
}

INSTANTIATE_TEST_SUITE_P(, FramesPerRefresh, testing::Values(
    RefreshCase{"Sixty", 60, {5, 25, 45, 65, 85, 100}},
    RefreshCase{"Thirty", 30, {5, 40, 75, 100}},
    RefreshCase{"Hundred", 100, {5, 15, 25, 35, 45, 55, 65, 75, 85, 95, 100}},
    RefreshCase{"FasterThanTheStepsShowsEvery", 250,
                {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100}},
    RefreshCase{"UnknownRateCountsAsSixty", 0, {5, 25, 45, 65, 85, 100}}));


struct StandingCase {
    const char* name;
    std::function<void(Show&)> change;
    bool presented;
    std::vector<std::string> textsDrawn;
};

void PrintTo(const StandingCase& c, std::ostream* os) { *os << c.name; }

class StandingFrame : public testing::TestWithParam<StandingCase> {};

TEST_P(StandingFrame, OnlyWhatChangedIsComposedAndShown)
{
    const StandingCase& c = GetParam();
    Show show;
    show.window.m_CurrentFile = "/p/a.jpg";
    show.window.m_PhotoList->push_back("/p/a.jpg");
    for (const int ms : {500, 500, 100}) {
        // The first frame whole, then the first change of the seconds, after which the clock
        // is redrawn alone.
        show.host.Advance(ms);
        show.window.Timer2Timer();
        show.Follow();
    }
    show.host.ClearTexts();
    const int presents = show.host.PresentCount();

    c.change(show);
    show.window.Timer2Timer();
    show.Follow();
    EXPECT_EQ(show.host.PresentCount() - presents, c.presented ? 1 : 0);
    std::vector<std::string> drawn;
    for (const auto& text : show.host.Texts()) drawn.push_back(text.text.substr(0, 11));
    EXPECT_EQ(drawn, c.textsDrawn);
    EXPECT_EQ(show.shown, show.Expected());
    if (c.textsDrawn.size() == 1) {
        // The clock's rectangle alone, inside the band's lower half.
        const Rect area = *show.host.LastChange();
        EXPECT_GE(area.y, 40 + 52);
        EXPECT_LE(area.width, 8 * 7);
    }
}

INSTANTIATE_TEST_SUITE_P(, StandingFrame, testing::Values(
    StandingCase{"NothingChanged", [](Show& s) { s.host.Advance(100); }, false, {}},
    StandingCase{"TheSecondsChange", [](Show& s) { s.host.Advance(1000); }, true, {"12:00:02"}},
    StandingCase{"APhotoFound", [](Show& s) { s.window.m_PhotoList->push_back("/p/b.jpg"); }, true,
                 {"Current Pho", "Current Mus", "Total Photo", "Total Music", "12:00:01"}},
    StandingCase{"ANewTrack", [](Show& s) { s.window.m_CurrentMusicFile = "/m/t.mp3"; }, true,
                 {"Current Pho", "Current Mus", "Total Photo", "Total Music", "12:00:01"}},
    StandingCase{"ASlideStepDrew", [](Show& s) {
        s.window.m_PhotoList->clear(); // the step finds nothing to show, but it may have drawn
        s.window.paintBoxPaint();
        s.window.m_PhotoList->push_back("/p/a.jpg");
        s.window.m_BackBuffer->At(10, 10) = 0x00FF00FFu; // under the overlay: the lines go over it again
    }, true, {"Current Pho", "Current Mus", "Total Photo", "Total Music", "12:00:01"}}));

TEST(StandingClock, PresentedOnceASecond)
{
    Show show;
    show.window.Timer2.SetEnabled(true);
    show.host.SetRunLimit(3050);
    show.host.Run();
    // The first tick composes the whole frame; then the clock at 1, 2 and 3 seconds.
    EXPECT_EQ(show.host.PresentTimes(), (std::vector<std::int64_t>{100, 1000, 2000, 3000}));
}

} // namespace
