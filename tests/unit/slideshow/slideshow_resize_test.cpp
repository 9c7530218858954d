// The slide show in a window that is not its own: the window changes size under it, or goes.
#include <gtest/gtest.h>

#include <string>

#include "slideshow/slideshow_window.h"
#include "unit/test_support/scripted_ui_host.h"
#include "unit/test_support/trace_capture.h"

namespace {

const std::string kTallPhoto = std::string(TOVELIN_TEST_DATA_DIR) + "/images/tall_420.jpg"; // 67 x 203

// A show as FormCreate leaves it, overlay off, with the tall photo standing.
struct StandingShow {
    explicit StandingShow(Size screen) : host(screen), window(host)
    {
        window.m_OsVersion.platformId = kPlatformNt;
        window.m_ShowCurrentFileInfo = window.m_ShowAllPhotoCount = window.m_ShowDateTime = false;
        window.SetClientSize(screen);
        window.m_ScreenBitmap->SetSize(screen.width, screen.height);
        window.m_InfoBitmap = std::make_unique<Bitmap>(static_cast<int>(screen.width * 0.9), 100, kWhite);
        *window.m_PhotoList = {kTallPhoto};
        host.OpenFullScreenWindow(window, false);
        window.paintBoxPaint();
    }
    bool FrameIsBlackAt(int x, int y) const { return (host.LastFrame().Row(y)[x] & 0xFFFFFF) == 0; }

    TraceCapture quiet;
    ScriptedUiHost host;
    TfrmMain window;
};

struct ResizeCase {
    const char* name;
    Size from;
    Size to;
    int bandWidth;
    bool cornerBlack; // the standing photo no longer covers the whole frame
    Size nextPhoto;
};

void PrintTo(const ResizeCase& c, std::ostream* os) { *os << c.name; }

class ResizeTable : public testing::TestWithParam<ResizeCase> {};

TEST_P(ResizeTable, StandingFrameRecomposedAtOnceAndNextPhotoFitted)
{
    const ResizeCase& c = GetParam();
    StandingShow show(c.from);
    const int presents = show.host.PresentCount();

    show.host.QueueAtWait(0, ScriptedUiHost::Resize{c.to});
    show.host.WaitAndDispatch(5);
    EXPECT_GT(show.host.PresentCount(), presents) << "shown without waiting for the next tick";
    EXPECT_EQ(show.host.LastFrame().GetSize(), c.to);
    EXPECT_EQ(show.host.LastChange(), (Rect{0, 0, c.to.width, c.to.height}));
    EXPECT_EQ(show.window.ClientSize(), c.to);
    EXPECT_EQ(show.window.m_InfoBitmap->Width(), c.bandWidth);
    EXPECT_FALSE(show.FrameIsBlackAt(c.to.width / 2, c.to.height / 2)) << "the photo stays in the middle";
    EXPECT_EQ(show.FrameIsBlackAt(0, 0), c.cornerBlack);

    show.window.paintBoxPaint();
    EXPECT_EQ(show.window.m_PhotoBitmap->GetSize(), c.nextPhoto);
    EXPECT_EQ(show.host.LastFrame().GetSize(), c.to);
}

INSTANTIATE_TEST_SUITE_P(, ResizeTable, testing::Values(
    ResizeCase{"GrowToPreviewOfTheSettings", {320, 240}, {640, 480}, 576, true, {67, 203}},
    ResizeCase{"ShrinkToTheSmallestPreview", {320, 240}, {64, 48}, 57, false, {15, 48}},
    ResizeCase{"FromTheSmallestToAScreen", {64, 48}, {1024, 768}, 921, true, {67, 203}}),
    [](const testing::TestParamInfo<ResizeCase>& info) { return std::string(info.param.name); });

TEST(SlideShowResize, DuringATransitionItsNextStepHasTheNewSize)
{
    StandingShow show({320, 240});
    show.host.QueueAtWait(2, ScriptedUiHost::Resize{{200, 100}});
    show.window.paintBoxPaint();
    EXPECT_EQ(show.host.LastFrame().GetSize(), (Size{200, 100}));
    EXPECT_EQ(show.window.m_PhotoBitmap->GetSize(), (Size{67, 203})) << "the photo of the step keeps its fit";
}

TEST(SlideShowResize, TheSameSizeAgainChangesNothing)
{
    StandingShow show({320, 240});
    const int presents = show.host.PresentCount();
    show.host.QueueAtWait(0, ScriptedUiHost::Resize{{320, 240}});
    show.host.WaitAndDispatch(5);
    EXPECT_EQ(show.host.PresentCount(), presents);
}

struct LossCase {
    const char* name;
    bool inTransition;
};

void PrintTo(const LossCase& c, std::ostream* os) { *os << c.name; }

class WindowLossTable : public testing::TestWithParam<LossCase> {};

TEST_P(WindowLossTable, ClosesTheShowAndDrawsNoMore)
{
    StandingShow show({320, 240});
    if (GetParam().inTransition) {
        show.host.QueueAtWait(1, ScriptedUiHost::WindowLoss{});
        show.window.paintBoxPaint();
    } else {
        show.host.QueueAtWait(0, ScriptedUiHost::WindowLoss{});
        show.host.WaitAndDispatch(5);
    }
    EXPECT_TRUE(show.host.WindowDestroyed());
    EXPECT_TRUE(show.window.m_Closing);
    EXPECT_EQ(show.window.m_ScreenBitmap, nullptr) << "the close released what the show held";
    EXPECT_FALSE(show.host.TimerRunning(TfrmMain::kTimer1Id));
    const int presents = show.host.PresentCount();
    show.host.QueueAtWait(0, ScriptedUiHost::Resize{{100, 100}});
    show.host.WaitAndDispatch(5);
    show.window.Timer2Timer();
    EXPECT_EQ(show.host.PresentCount(), presents);
}

INSTANTIATE_TEST_SUITE_P(, WindowLossTable, testing::Values(LossCase{"BetweenSlides", false}, LossCase{"InATransition", true}),
    [](const testing::TestParamInfo<LossCase>& info) { return std::string(info.param.name); });

} // namespace
