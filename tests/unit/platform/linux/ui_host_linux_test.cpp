// The Linux UI host without a display: timers, posted tasks, the nested wait, worker message
// boxes, text drawing, and the window's absence.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

#include "gfx/error.h"
#include "platform/linux/ui_host_linux.h"
#include "platform/message_box.h"
#include "recording_ui_events.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool DisplayAvailable() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

class UiHostGtkTest : public testing::Test {
protected:
    UiHostGtkTest() { host.ConnectEvents(events); }

    void PumpFor(milliseconds span)
    {
        const auto end = Clock::now() + span;
        while (Clock::now() < end) host.WaitAndDispatch(5);
    }

    RecordingUiEvents events;
    GtkUiHost host;
};

TEST_F(UiHostGtkTest, ATimerTicksEveryIntervalOnTheUiThread)
{
    host.StartTimer(3, 20);
    ASSERT_TRUE(PumpUntil(host, [&] { return events.ticks.size() >= 3; }));
    EXPECT_EQ(events.ticks, (std::vector<int>{3, 3, 3}));
    EXPECT_TRUE(events.onCreatingThread);
}

TEST_F(UiHostGtkTest, StopTimerCancelsThePendingTick)
{
    host.StartTimer(1, 20);
    host.StopTimer(1);
    PumpFor(milliseconds(150));
    EXPECT_TRUE(events.ticks.empty());
}

TEST_F(UiHostGtkTest, StartingARunningTimerAgainWaitsAFullIntervalFromThen)
{
    host.StartTimer(2, 500);
    PumpFor(milliseconds(100));
    host.StartTimer(2, 500);
    const auto restarted = Clock::now();
    ASSERT_TRUE(PumpUntil(host, [&] { return !events.ticks.empty(); }));
    EXPECT_GE(Clock::now() - restarted, milliseconds(490));
}

TEST_F(UiHostGtkTest, ATickHandlerMayStopItsOwnTimer)
{
    events.onTick = [&](int id) { host.StopTimer(id); };
    host.StartTimer(4, 10);
    PumpFor(milliseconds(150));
    EXPECT_EQ(events.ticks, (std::vector<int>{4}));
}

TEST_F(UiHostGtkTest, AnErrorInAHandlerIsReportedAndTheLoopGoesOn)
{
    if (DisplayAvailable()) GTEST_SKIP() << "the error box would wait for a user";
    events.onTick = [](int) { throw Error("The tick failed"); };
    host.StartTimer(5, 10);
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(PumpUntil(host, [&] { return events.ticks.size() >= 2; }));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_GE(events.ticks.size(), 2u);
    EXPECT_NE(errors.find("The tick failed."), std::string::npos) << errors;
}

TEST_F(UiHostGtkTest, TasksPostedFromOtherThreadsRunOnTheUiThreadInTheirOrder)
{
    constexpr int kThreads = 4;
    constexpr int kTasks = 100;
    std::vector<std::vector<int>> seen(kThreads);
    std::atomic<int> ran{0};
    bool allOnUiThread = true;
    const auto uiThread = std::this_thread::get_id();
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([&, t] {
            for (int i = 0; i < kTasks; ++i)
                host.Post([&, t, i] {
                    seen[t].push_back(i);
                    allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
                    ++ran;
                });
        });
    }
    for (auto& poster : posters) poster.join();
    ASSERT_TRUE(PumpUntil(host, [&] { return ran == kThreads * kTasks; }));
    EXPECT_TRUE(allOnUiThread);
    for (const auto& order : seen) {
        EXPECT_EQ(order.size(), static_cast<std::size_t>(kTasks));
        EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    }
}

// Only input ends a wait early: a task is run within it, and the wait goes on to its bound.
TEST_F(UiHostGtkTest, APostRunsWithinAWaitWithoutEndingIt)
{
    bool ran = false;
    std::thread poster([&] {
        std::this_thread::sleep_for(milliseconds(50));
        host.Post([&] { ran = true; });
    });
    const auto start = Clock::now();
    host.WaitAndDispatch(300);
    const auto waited = Clock::now() - start;
    poster.join();
    EXPECT_TRUE(ran);
    EXPECT_GE(waited, milliseconds(290));
}

TEST_F(UiHostGtkTest, AQuietWaitReturnsWithinItsBound)
{
    const auto start = Clock::now();
    host.WaitAndDispatch(30);
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
}

TEST_F(UiHostGtkTest, ATaskThatWaitsStillSeesTasksPostedMeanwhile)
{
    bool inner = false;
    bool innerRanInsideOuter = false;
    host.Post([&] {
        host.Post([&] { inner = true; });
        innerRanInsideOuter = PumpUntil(host, [&] { return inner; });
    });
    ASSERT_TRUE(PumpUntil(host, [&] { return inner; }));
    EXPECT_TRUE(innerRanInsideOuter);
}

TEST_F(UiHostGtkTest, ATaskThatPostsItselfAgainDoesNotHoldTheWait)
{
    int runs = 0;
    std::function<void()> again = [&] {
        if (++runs < 100000) host.Post(again);
    };
    host.Post(again);
    host.WaitAndDispatch(0);
    EXPECT_GT(runs, 0);
    EXPECT_LT(runs, 100000);
}

TEST(UiHostGtk, TasksLeftWhenTheHostGoesAwayNeverRun)
{
    bool ran = false;
    {
        GtkUiHost host;
        host.Post([&] { ran = true; });
    }
    for (int i = 0; i < 10 && g_main_context_iteration(nullptr, FALSE); ++i) {
    }
    EXPECT_FALSE(ran);
}

TEST(UiHostGtk, WithoutAWindowRunReturnsAtOnceAndNothingIsPresented)
{
    GtkUiHost host;
    host.Run();
    host.Present(Bitmap(64, 48, kWhite));
    host.RequestClose();
    EXPECT_EQ(host.Window(), nullptr);
    EXPECT_EQ(host.MediaNotifyWindow(), nullptr);
}

TEST(UiHostGtk, OpeningTheWindowWithoutADisplayIsAClearError)
{
    if (DisplayAvailable()) GTEST_SKIP() << "a display is available";
    GtkUiHost host;
    RecordingUiEvents events;
    try {
        host.OpenFullScreenWindow(events, true);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("display"), std::string::npos) << error.what();
    }
    EXPECT_EQ(host.Window(), nullptr);
}

TEST(UiHostGtk, AWorkerBoxWithoutALoopGetsTheCancellingAnswerAtOnce)
{
    struct Case {
        unsigned style;
        int answer;
    };
    const Case cases[] = {
        {mb::Ok | mb::IconInformation, mb::IdOk},
        {mb::OkCancel | mb::IconQuestion, mb::IdCancel},
        {mb::YesNo | mb::IconWarning, mb::IdNo},
        {mb::YesNo | mb::DefButton2, mb::IdNo},
    };
    GtkUiHost host;
    for (const Case& c : cases) {
        auto answer = std::async(std::launch::async, [&] { return host.WorkerMessageBox("Go on?", "Probe", c.style); });
        ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready) << c.style;
        EXPECT_EQ(answer.get(), c.answer) << c.style;
    }
}

// The worker's message box that the host has up, if any.
GtkWidget* ShownMessageDialog()
{
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item; item = item->next) {
        auto* widget = static_cast<GtkWidget*>(item->data);
        if (GTK_IS_MESSAGE_DIALOG(widget) && gtk_widget_get_visible(widget)) found = widget;
    }
    g_list_free(windows);
    return found;
}

class ButtonEvents final : public QuietUiEvents {
public:
    void MouseDown(MouseButton button, Point) override { buttons.push_back(button); }
    std::vector<MouseButton> buttons;
};

TEST(UiHostGtkWindow, AWorkersBoxLeavesTheShowRunningAndGoesWithItsCancellingAnswerOnClose)
{
    if (!DisplayAvailable()) GTEST_SKIP() << "needs a display";
    GtkUiHost host;
    QuietUiEvents events;
    host.OpenFullScreenWindow(events, true);
    // Should the box block the UI thread, this answers it, so that the test ends either way.
    const guint rescue = g_timeout_add(2000, [](gpointer) -> gboolean {
        if (GtkWidget* box = ShownMessageDialog()) gtk_dialog_response(GTK_DIALOG(box), mb::IdOk);
        return G_SOURCE_CONTINUE;
    }, nullptr);
    auto answer = std::async(std::launch::async, [&] { return host.WorkerMessageBox("Go on?", "Probe", mb::OkCancel); });
    // The test's own waits come back while the box is up: the show's input is still dispatched.
    EXPECT_TRUE(PumpUntil(host, [] { return ShownMessageDialog() != nullptr; }));
    host.RequestClose();
    const bool answered = answer.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    g_source_remove(rescue);
    ASSERT_TRUE(answered);
    EXPECT_EQ(answer.get(), mb::IdCancel);
    EXPECT_EQ(ShownMessageDialog(), nullptr);
}

TEST(UiHostGtkWindow, TheBackAndForwardButtonsReachTheForm)
{
    if (!DisplayAvailable()) GTEST_SKIP() << "needs a display";
    GtkUiHost host;
    ButtonEvents events;
    host.OpenFullScreenWindow(events, false);
    GtkWidget* window = static_cast<GtkWidget*>(host.Window());
    ASSERT_TRUE(PumpUntil(host, [&] { return gtk_widget_get_mapped(window); }));
    for (guint button : {8u, 9u}) {
        GdkEvent* event = gdk_event_new(GDK_BUTTON_PRESS);
        event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
        event->button.button = button;
        event->button.time = GDK_CURRENT_TIME;
        gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
    EXPECT_EQ(events.buttons, (std::vector<MouseButton>{MouseButton::Back, MouseButton::Forward}));
}

// Text: black, at the screen's resolution, the top-left of the text at the point.
struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, dark = 0;
    bool grey = true;
};

InkBox InkOf(const Bitmap& bitmap)
{
    InkBox box;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const Pixel p = bitmap.At(x, y) & 0xFFFFFF;
            if (p == kWhite) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
            if (p < 0x404040) ++box.dark;
            box.grey = box.grey && (p & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == (p >> 16);
        }
    return box;
}

TEST(UiHostGtkText, TextIsBlackWithItsTopLeftAtThePoint)
{
    GtkUiHost host;
    Bitmap bitmap(300, 120, kWhite);
    host.DrawText(bitmap, TextFont{"Arial", 20}, Point{50, 30}, "Hello");
    const InkBox ink = InkOf(bitmap);
    EXPECT_GT(ink.dark, 20);
    EXPECT_TRUE(ink.grey) << "black on white, nothing coloured";
    EXPECT_GE(ink.left, 50);
    EXPECT_LT(ink.left, 60);
    EXPECT_GE(ink.top, 30);
    EXPECT_LT(ink.top, 45);
    const bool unusedBytesClear =
        std::all_of(bitmap.Data(), bitmap.Data() + 300 * 120, [](Pixel p) { return (p >> 24) == 0; });
    EXPECT_TRUE(unusedBytesClear);
}

TEST(UiHostGtkText, PointsAreAtTheScreenResolution)
{
    if (DisplayAvailable()) GTEST_SKIP() << "the display's resolution may differ";
    struct Case {
        int points;
        int minCapHeight;
        int maxCapHeight;
    };
    // A capital's height is about 0.7 em; at 96 dpi an em of 10 pt is 13 px, of 36 pt 48 px.
    const Case cases[] = {{10, 7, 11}, {36, 30, 38}};
    GtkUiHost host;
    for (const Case& c : cases) {
        Bitmap bitmap(200, 100, kWhite);
        host.DrawText(bitmap, TextFont{"Arial", c.points}, Point{10, 10}, "H");
        const InkBox ink = InkOf(bitmap);
        const int height = ink.bottom - ink.top + 1;
        EXPECT_GE(height, c.minCapHeight) << c.points;
        EXPECT_LE(height, c.maxCapHeight) << c.points;
    }
}

TEST(UiHostGtkText, TextOverTheEdgesIsClippedAndBadBytesStillDraw)
{
    GtkUiHost host;
    Bitmap bitmap(120, 40, kWhite);
    host.DrawText(bitmap, TextFont{"Arial", 24}, Point{-15, -12}, "Clipped");
    host.DrawText(bitmap, TextFont{"Arial", 24}, Point{100, 30}, "Clipped");
    EXPECT_GT(InkOf(bitmap).dark, 0);

    Bitmap latin1(120, 40, kWhite);
    host.DrawText(latin1, TextFont{"Arial", 12}, Point{2, 2}, "caf\xE9");
    EXPECT_GT(InkOf(latin1).dark, 0);

    Bitmap untouched(50, 20, kWhite);
    host.DrawText(untouched, TextFont{"Arial", 12}, Point{2, 2}, "");
    EXPECT_EQ(untouched, Bitmap(50, 20, kWhite));
    Bitmap empty;
    host.DrawText(empty, TextFont{"Arial", 12}, Point{0, 0}, "nothing");
}

} // namespace
