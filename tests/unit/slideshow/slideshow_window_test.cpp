// The slide-show window on the scripted host: keys and clicks, timers, re-entry, the photo
// history and the settings it reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "app/random_generator.h"
#include "gfx/error.h"
#include "settings/saver_settings.h"
#include "slideshow/slideshow_window.h"
#include "unit/test_support/image_files.h"
#include "unit/test_support/isolated_settings.h"
#include "unit/test_support/scripted_ui_host.h"
#include "unit/test_support/trace_capture.h"

namespace {

using Key = ScriptedUiHost::Key;

std::string Photo(const std::string& name)
{
    return std::string(TOVELIN_TEST_DATA_DIR) + "/images/" + name;
}

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
    void SetPhotos(std::vector<std::string> paths) { *window.m_PhotoList = std::move(paths); }
    // One slide step as a tick brings it, and the name of the photo it chose.
    std::string Step()
    {
        window.paintBoxPaint();
        return window.m_CurrentFile;
    }

    ScriptedUiHost host;
    TfrmMain window;
};

struct KeyCase {
    const char* name;
    int key;
    ShiftState shift;
    int navRequest;
    int musicNavRequest;
    bool closes;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class KeyTable : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyTable, RequestsOrCloses)
{
    const KeyCase& c = GetParam();
    Show show;
    show.host.QueueAtWait(0, Key{c.key, c.shift});
    show.host.WaitAndDispatch(5);
    EXPECT_EQ(show.window.m_NavRequest, c.navRequest);
    EXPECT_EQ(show.window.m_MusicNavRequest, c.musicNavRequest);
    EXPECT_EQ(show.host.WindowDestroyed(), c.closes);
}

constexpr ShiftState kNone{};
constexpr ShiftState kCtrl{false, true, false};
INSTANTIATE_TEST_SUITE_P(, KeyTable, testing::Values(
    KeyCase{"Left", vk::Left, kNone, -1, 0, false},
    KeyCase{"Up", vk::Up, kNone, -1, 0, false},
    KeyCase{"Right", vk::Right, kNone, 1, 0, false},
    KeyCase{"Down", vk::Down, kNone, 1, 0, false},
    KeyCase{"ShiftLeftIsStillBack", vk::Left, ShiftState{true, false, false}, -1, 0, false},
    KeyCase{"CtrlLeft", vk::Left, kCtrl, 0, -1, false},
    KeyCase{"CtrlDown", vk::Down, kCtrl, 0, 1, false},
    KeyCase{"CtrlAlone", vk::Control, kCtrl, 0, 0, false},
    KeyCase{"CtrlWithALetter", 'A', kCtrl, 0, 0, false},
    KeyCase{"ShiftAlone", vk::Shift, ShiftState{true, false, false}, 0, 0, true},
    KeyCase{"AltAlone", vk::Menu, ShiftState{false, false, true}, 0, 0, true},
    KeyCase{"Escape", vk::Escape, kNone, 0, 0, true},
    KeyCase{"Letter", 'X', kNone, 0, 0, true}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(SlideShowWindow, MouseMovesNeverCloseAndAnyClickDoes)
{
    for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
        Show show;
        for (int i = 0; i < 50; ++i) show.host.QueueAtWait(0, ScriptedUiHost::MouseMoveTo{Point{i * 20, i * 10}});
        show.host.WaitAndDispatch(5);
        EXPECT_TRUE(show.host.WindowOpen());
        show.host.QueueAtWait(0, ScriptedUiHost::MouseDownAt{button, Point{1, 1}});
        show.host.WaitAndDispatch(5);
        EXPECT_TRUE(show.host.WindowDestroyed());
        EXPECT_TRUE(show.window.m_Closing);
        EXPECT_EQ(show.window.m_PhotoBitmap, nullptr) << "the close released the bitmaps";
    }
}

TEST(SlideShowWindow, TimersAfterSteps)
{
    Show show;
    show.window.m_Interval = 3000;
    show.window.Timer1.SetInterval(3000);
    show.window.Timer2.SetEnabled(true);

    show.window.Timer1Timer(); // nothing found yet: the tick turns the overlay off, the step no timer
    EXPECT_EQ(show.window.Timer1.Interval(), 3000);
    EXPECT_TRUE(show.window.Timer1.Enabled());
    EXPECT_FALSE(show.window.Timer2.Enabled());

    show.SetPhotos({Photo("tall_420.jpg")});
    show.Step();
    EXPECT_EQ(show.window.Timer1.Interval(), 3000);
    EXPECT_TRUE(show.window.Timer1.Enabled());
    EXPECT_TRUE(show.window.Timer2.Enabled()) << "the overlay refresh runs between slides";

    show.window.Timer1Timer(); // a tick turns the overlay refresh off before its step
    EXPECT_TRUE(show.window.Timer2.Enabled()) << "and the step turns it on again";

    // An arrow key during the transition stops it and brings the next photo 500 ms later.
    show.host.QueueAtWait(2, Key{vk::Right});
    show.Step();
    EXPECT_EQ(show.window.Timer1.Interval(), TfrmMain::kNavigationInterval);
    EXPECT_EQ(show.window.m_NavRequest, 1);
    show.Step();
    EXPECT_EQ(show.window.Timer1.Interval(), 3000);
}

TEST(SlideShowWindow, ATickTurnsTheOverlayOffAndNestedStepsNeverStart)
{
    Show show;
    show.SetPhotos({Photo("tall_420.jpg")});
    show.Step();
    ASSERT_TRUE(show.window.Timer2.Enabled());
    const int position = show.window.m_HistoryPos;
    // Ticks and paints that arrive inside the next step's waits run no step of their own.
    for (int wait = 0; wait < 4; ++wait) {
        show.host.QueueAtWait(wait, ScriptedUiHost::PaintRequest{});
    }
    // A Timer1 tick every wait, from the first wait on (the step has disabled Timer1 by then).
    show.host.Post([&] { show.host.StartTimer(TfrmMain::kTimer1Id, 1); });
    show.window.Timer1Timer();
    EXPECT_EQ(show.window.m_HistoryPos, position + 1) << "one step, however many ticks and paints came in";
    EXPECT_FALSE(show.window.m_Drawing);
}

// An error that escapes the step (here the OS refusing to re-arm Timer1) still ends it: paints
// and ticks that follow run steps again instead of finding a step forever under way.
TEST(SlideShowWindow, AnErrorThatEscapesTheStepEndsIt)
{
    Show show;
    show.window.m_DisableRandom = true;
    show.SetPhotos({Photo("tall_420.jpg"), Photo("tall_progressive.jpg")});
    show.host.FailNextTimerStart(TfrmMain::kTimer1Id);
    EXPECT_THROW(show.window.paintBoxPaint(), Error);
    EXPECT_FALSE(show.window.m_Drawing);

    const int position = show.window.m_HistoryPos;
    EXPECT_EQ(show.Step(), Photo("tall_420.jpg"));
    EXPECT_EQ(show.window.m_HistoryPos, position + 1);
    EXPECT_TRUE(show.host.TimerRunning(TfrmMain::kTimer1Id));
}

// The photo history: new choices write the ring, arrows walk it.
struct HistoryCase {
    const char* name;
    std::vector<std::string> list;
    std::vector<int> requests; // 0 new choice, -1 back, +1 forward
    std::string shown;         // the photos shown, one letter each
};

void PrintTo(const HistoryCase& c, std::ostream* os) { *os << c.name; }

class PhotoHistory : public testing::TestWithParam<HistoryCase> {};

TEST_P(PhotoHistory, ShowsThePhotosInTheirOrder)
{
    const HistoryCase& c = GetParam();
    Show show;
    show.window.m_DisableRandom = true;
    show.SetPhotos(c.list); // missing files: each step is skipped quietly after its choice
    std::string shown;
    for (int request : c.requests) {
        show.window.m_NavRequest = request;
        const std::string file = show.Step();
        shown += file.substr(0, file.size() - 4);
    }
    EXPECT_EQ(shown, c.shown);
}

const std::vector<std::string> kAbcd{"A.jpg", "B.jpg", "C.jpg", "D.jpg"};

INSTANTIATE_TEST_SUITE_P(, PhotoHistory, testing::Values(
    HistoryCase{"ListOrderStartsAtTheSecond", {"A.jpg", "B.jpg", "C.jpg"}, {0, 0, 0, 0}, "BCAB"},
    HistoryCase{"SingleEntryEveryTime", {"A.jpg"}, {0, 0, 0}, "AAA"},
    // New choices D, A, B, C (list order from B would be B, C, D, A: start at D to have A first).
    HistoryCase{"BackThroughTheRingThenTheList", kAbcd, {0, 0, 0, -1, -1, -1}, "BCDCBA"},
    HistoryCase{"ForwardFromTheOldest", kAbcd, {0, 0, 0, -1, -1, 1, 1, 1}, "BCDCBCDA"}),
    [](const testing::TestParamInfo<HistoryCase>& info) { return std::string(info.param.name); });

TEST(PhotoHistoryRing, ANewChoiceAfterGoingBackTakesTheNextSlot)
{
    Show show;
    show.window.m_DisableRandom = true;
    show.SetPhotos({"A.jpg", "B.jpg", "C.jpg", "D.jpg", "E.jpg"});
    std::string shown;
    auto step = [&](int request) {
        show.window.m_NavRequest = request;
        shown += show.Step().substr(0, 1);
    };
    for (int request : {0, 0, 0, -1, -1}) step(request); // B C D, back to C, back to B
    show.window.m_PhotoIndex = 3;                         // the next new choice in list order is E
    for (int request : {0, -1, 1, 1}) step(request);
    EXPECT_EQ(shown, "BCDCBEBED") << "E took C's slot: C can no longer be reached with the arrows";
}

TEST(PhotoHistoryRing, AfterMoreThanAHundredForwardFromTheNewestShowsTheOldestKept)
{
    Show show;
    show.window.m_DisableRandom = true;
    std::vector<std::string> list;
    for (int i = 0; i < 150; ++i) list.push_back("p" + std::to_string(i) + ".jpg");
    show.SetPhotos(list);
    for (int i = 0; i < 120; ++i) show.Step(); // shows p1 .. p120
    EXPECT_EQ(show.window.m_CurrentFile, "p120.jpg");
    show.window.m_NavRequest = 1;
    EXPECT_EQ(show.Step(), "p21.jpg") << "the photo chosen 99 new choices before the newest";
}

TEST(SlideShowWindow, RandomChoicesFollowTheGenerator)
{
    Show show;
    show.SetPhotos({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
    SetRandomSeed(1234);
    const std::string first = show.Step();
    SetRandomSeed(1234);
    EXPECT_EQ(first, (*show.window.m_PhotoList)[static_cast<std::size_t>(RandomDraw() % 5)]);
}

class SlideShowSettings : public IsolatedSettings {};

TEST_F(SlideShowSettings, TheIntervalIsAtLeastOneSecond)
{
    for (const auto& [stored, used] : std::vector<std::pair<int, int>>{{500, 1000}, {1000, 1000}, {1500, 1500}}) {
        {
            RegistryObject registry;
            OpenSettingsKey(registry);
            registry.WriteInteger("ChangeInterval", stored);
        }
        ScriptedUiHost host;
        TfrmMain window(host);
        window.FormCreate();
        EXPECT_EQ(window.m_Interval, used) << stored;
        EXPECT_EQ(window.Timer1.Interval(), used) << stored;
        window.FormClose();
    }
}

// A value of the wrong type stops FormCreate where it is read; the window opens all the same,
// and its close stops only a scanner that was started.
TEST_F(SlideShowSettings, ABrokenValueLeavesThePartlyCreatedWindowUsable)
{
    struct Case {
        const char* name;
        bool scannerStarted;
        int timer1Interval;
    };
    for (const Case& c : {Case{"PhotoDirectorys", false, 5000}, Case{"ChangeInterval", true, 5000},
                          Case{"EnableMusic", true, 1500}}) {
        {
            RegistryObject registry;
            OpenSettingsKey(registry);
            if (std::string(c.name) == "PhotoDirectorys") {
                registry.WriteInteger(c.name, 1);
            } else {
                registry.WriteString(c.name, "x");
            }
        }
        ScriptedUiHost host;
        TfrmMain window(host);
        EXPECT_ANY_THROW(window.FormCreate()) << c.name;
        EXPECT_EQ(window.m_GetPhotoThread != nullptr, c.scannerStarted) << c.name;
        EXPECT_EQ(window.Timer1.Interval(), c.timer1Interval) << c.name;
        host.OpenFullScreenWindow(window, false);
        host.RequestClose();
        EXPECT_TRUE(host.WindowDestroyed()) << c.name;
        RegistryObject registry;
        OpenSettingsKey(registry);
        registry.WriteString("PhotoDirectorys", "");
        registry.WriteInteger("ChangeInterval", 1500);
        registry.WriteInteger("EnableMusic", 1);
    }
}

// A close at any wait of the fade or of any transition: nothing touches the released bitmaps
// (they are null after the close, so a use would crash here and under the sanitizers).
TEST(SlideShowWindow, ACloseAtAnyStepOfAnyAnimationIsSafe)
{
    for (unsigned effect = 0; effect < 13; ++effect) {
        for (int closeAt : {0, 12, 25, 26, 27, 40, 120}) { // the fade has 26 waits
            Show show({96, 64});
            show.window.m_DisableRandom = true;
            show.window.m_FadeOutLastPhoto = true;
            show.SetPhotos({Photo("tall_420.jpg"), Photo("tall_progressive.jpg")});
            show.Step(); // the first photo, so that the next step fades it
            // The effect is the next draw modulo 13: find a seed that gives this one.
            std::uint32_t seed = 0;
            do {
                SetRandomSeed(++seed);
            } while (static_cast<unsigned>(RandomDraw() % 13) != effect);
            SetRandomSeed(seed);
            show.host.QueueAtWait(closeAt, ScriptedUiHost::CloseRequest{});
            show.Step();
            EXPECT_FALSE(show.window.m_Drawing);
            // A close that comes after the animation's end arrives between slides.
            for (int wait = 0; wait < 200 && !show.host.WindowDestroyed(); ++wait) show.host.WaitAndDispatch(5);
            EXPECT_TRUE(show.host.WindowDestroyed()) << effect << " at " << closeAt;
        }
    }
}

// The photo is loaded on a worker while the window goes on answering. The loader below hands the
// UI thread an event at one point of the load and goes on only once it has been answered.
enum class LoadPoint { BeforeReading, AfterTheHeader, AfterDecoding };

struct LoadEventCase {
    const char* name;
    LoadPoint point;
    bool close; // else a Right arrow
};

void PrintTo(const LoadEventCase& c, std::ostream* os) { *os << c.name; }

struct StepRecord {
    std::vector<std::string> trace;
    int historyPos = 0;
    int navRequest = 0;
    int timer1Interval = 0;
    Bitmap frame;
    int nextDraw = 0;
    bool destroyed = false;
};

class LoadOnTheWorker : public testing::TestWithParam<LoadEventCase> {
protected:
    // Two steps over two photos, the first shown before the capture starts; prepare() sets the
    // second step's arrow or loader.
    static StepRecord Run(const std::function<void(Show&)>& prepare)
    {
        Show show({96, 64});
        show.window.m_DisableRandom = true;
        show.SetPhotos({Photo("tall_420.jpg"), Photo("tall_progressive.jpg"), Photo("colour_420.jpg")});
        SetRandomSeed(7);
        show.Step();
        prepare(show);
        StepRecord record;
        {
            TraceCapture capture;
            show.Step();
            record.trace = capture.Stop();
        }
        record.historyPos = show.window.m_HistoryPos;
        record.navRequest = show.window.m_NavRequest;
        record.timer1Interval = show.window.Timer1.Interval();
        record.frame = show.host.LastFrame();
        record.nextDraw = RandomDraw();
        record.destroyed = show.host.WindowDestroyed();
        return record;
    }
};

TEST_P(LoadOnTheWorker, AnEventDuringTheLoadIsAnsweredAtOnce)
{
    const LoadEventCase& c = GetParam();
    std::atomic<bool> readerStopped{false};
    std::atomic<bool> timer1RanDuringTheLoad{true};
    const StepRecord record = Run([&](Show& show) {
        show.window.m_LoadPhoto = [&](const std::string& path, ImageFormat format, const FitFunction& fit,
                                      std::stop_token stop) {
            const auto deliver = [&] {
                std::promise<void> answered;
                show.host.Post([&] {
                    timer1RanDuringTheLoad = show.window.Timer1.Enabled();
                    if (c.close) {
                        show.host.RequestClose();
                    } else {
                        show.window.FormKeyDown(vk::Right, {});
                    }
                    answered.set_value();
                });
                ASSERT_EQ(answered.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready)
                    << "the UI thread did not answer during the load";
                // A close must reach the worker as a stop before the load goes on.
                for (int i = 0; c.close && !stop.stop_requested() && i < 20000; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            };
            if (c.point == LoadPoint::BeforeReading) deliver();
            const FitFunction hooked = [&](Size image) {
                if (c.point == LoadPoint::AfterTheHeader) deliver();
                return fit(image);
            };
            try {
                Bitmap photo = LoadPhotoFile(path, format, hooked, stop);
                if (c.point == LoadPoint::AfterDecoding) deliver();
                return photo;
            } catch (const LoadStopped&) {
                readerStopped = true;
                throw;
            }
        };
    });
    EXPECT_FALSE(timer1RanDuringTheLoad) << "no slide tick may come while the photo loads";
    if (c.close) {
        EXPECT_TRUE(record.destroyed);
        EXPECT_FALSE(std::any_of(record.trace.begin(), record.trace.end(), [](const std::string& line) {
            return line.starts_with("effect style=") || line == "DrawScreen end...";
        })) << "the abandoned load's step draws nothing more";
        EXPECT_EQ(readerStopped.load(), c.point != LoadPoint::AfterDecoding) << "the reader stops at its next row";
        return;
    }
    // An arrow comes out as one at the first wait of an inline load's transition.
    const StepRecord inline_ = Run([](Show& show) { show.host.QueueAtWait(0, ScriptedUiHost::Key{vk::Right}); });
    EXPECT_EQ(record.trace, inline_.trace);
    EXPECT_EQ(record.historyPos, inline_.historyPos);
    EXPECT_EQ(record.navRequest, 1);
    EXPECT_EQ(record.timer1Interval, TfrmMain::kNavigationInterval);
    EXPECT_TRUE(SamePixels(record.frame, inline_.frame));
    EXPECT_EQ(record.nextDraw, inline_.nextDraw);
}

INSTANTIATE_TEST_SUITE_P(, LoadOnTheWorker, testing::Values(
    LoadEventCase{"CloseBeforeReading", LoadPoint::BeforeReading, true},
    LoadEventCase{"CloseAfterTheHeader", LoadPoint::AfterTheHeader, true},
    LoadEventCase{"CloseAfterDecoding", LoadPoint::AfterDecoding, true},
    LoadEventCase{"ArrowBeforeReading", LoadPoint::BeforeReading, false},
    LoadEventCase{"ArrowAfterTheHeader", LoadPoint::AfterTheHeader, false},
    LoadEventCase{"ArrowAfterDecoding", LoadPoint::AfterDecoding, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A file that the worker cannot load ends the step as an inline load did: the photo that stands
// stays, the timers are re-armed, and the next step shows the next photo.
TEST(PhotoLoad, AFileThatCannotBeLoadedIsSkipped)
{
    const std::string data = TOVELIN_TEST_DATA_DIR;
    for (const std::string& bad : {data + "/images/no such photo.jpg", data + "/hostile/bmp_8bit_without_palette.bmp"}) {
        Show show({96, 64});
        show.window.m_DisableRandom = true;
        show.window.m_Interval = 2000;
        show.SetPhotos({bad, Photo("tall_420.jpg"), Photo("colour_420.jpg")});
        show.window.m_PhotoIndex = 1;
        EXPECT_EQ(show.Step(), Photo("colour_420.jpg"));
        const Bitmap standing = *show.window.m_PhotoBitmap;
        show.window.m_PhotoIndex = -1; // list order goes on with the bad file
        EXPECT_EQ(show.Step(), bad);
        EXPECT_TRUE(SamePixels(*show.window.m_PhotoBitmap, standing)) << bad;
        EXPECT_TRUE(show.window.Timer1.Enabled()) << bad;
        EXPECT_EQ(show.window.Timer1.Interval(), 2000) << bad;
        EXPECT_TRUE(show.window.Timer2.Enabled()) << bad;
        EXPECT_EQ(show.Step(), Photo("tall_420.jpg")) << bad;
    }
}

} // namespace
