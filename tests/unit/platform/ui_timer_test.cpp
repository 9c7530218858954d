// The form timer's semantics, and the hosts' common rules through the scripted host that the
// window tests stand on.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/ui_host.h"
#include "unit/test_support/scripted_ui_host.h"

namespace {

// Records what reaches the window, with the virtual time of each tick.
class RecordingForm final : public UiEvents {
public:
    explicit RecordingForm(ScriptedUiHost& host) : m_Host(host) {}

    std::vector<std::int64_t> ticks;
    std::vector<int> keys;
    int closeQueries = 0;
    int closes = 0;
    bool allowClose = true;
    std::function<void(int)> onKey;
    std::function<void()> onCloseQuery;
    std::function<void()> onClosed;

    void KeyDown(int key, ShiftState) override
    {
        keys.push_back(key);
        if (onKey) onKey(key);
    }
    void MouseDown(MouseButton, Point) override {}
    void MouseMove(Point) override {}
    void Paint() override {}
    bool CloseQuery() override
    {
        if (++closeQueries == 1 && onCloseQuery) onCloseQuery();
        return allowClose;
    }
    void Closed() override
    {
        if (++closes == 1 && onClosed) onClosed();
    }
    void TimerTick(int) override { ticks.push_back(m_Host.Now()); }
    void MediaNotify(unsigned) override {}

private:
    ScriptedUiHost& m_Host;
};

struct TimerStep {
    std::int64_t at;       // virtual time of the change
    std::optional<bool> enabled;
    std::optional<int> interval;
};

struct TimerCase {
    const char* name;
    int interval;
    bool enabled;
    std::vector<TimerStep> steps;
    std::vector<std::int64_t> ticks; // up to time 1000
};

void PrintTo(const TimerCase& c, std::ostream* os) { *os << c.name; }

class UiTimerSemantics : public testing::TestWithParam<TimerCase> {};

TEST_P(UiTimerSemantics, TicksFallWhereTheChangesPutThem)
{
    const TimerCase& c = GetParam();
    ScriptedUiHost host;
    RecordingForm form(host);
    host.OpenFullScreenWindow(form, false);
    UiTimer timer(host, 1, c.interval, c.enabled);
    // Waits of 1 ms: a wait is not ended by a timer, so a tick is seen when a wait ends.
    for (const TimerStep& step : c.steps) {
        while (host.Now() < step.at) host.WaitAndDispatch(1);
        if (step.enabled) timer.SetEnabled(*step.enabled);
        if (step.interval) timer.SetInterval(*step.interval);
    }
    while (host.Now() < 1000) host.WaitAndDispatch(1);
    EXPECT_EQ(form.ticks, c.ticks);
}

INSTANTIATE_TEST_SUITE_P(, UiTimerSemantics, testing::Values(
    TimerCase{"EnabledTicksEveryInterval", 300, true, {}, {300, 600, 900}},
    TimerCase{"DisabledNeverTicks", 300, false, {}, {}},
    TimerCase{"EnablingAnEnabledTimerChangesNothing", 300, true, {{200, true, {}}}, {300, 600, 900}},
    TimerCase{"EnablingStartsAFullInterval", 300, false, {{100, true, {}}}, {400, 700, 1000}},
    TimerCase{"DisablingCancelsThePendingTick", 300, true, {{250, false, {}}}, {}},
    TimerCase{"NewIntervalRestartsAnEnabledTimer", 300, true, {{200, {}, 500}}, {700}},
    TimerCase{"SameIntervalChangesNothing", 300, true, {{200, {}, 300}}, {300, 600, 900}},
    TimerCase{"NewIntervalOfADisabledTimerWaitsForEnable", 300, false, {{100, {}, 200}, {500, true, {}}}, {700, 900}},
    TimerCase{"ZeroIntervalNeverTicks", 300, true, {{100, {}, 0}}, {}},
    TimerCase{"DisableThenEnableRestarts", 300, true, {{250, false, {}}, {250, true, {}}}, {550, 850}}),
    [](const testing::TestParamInfo<TimerCase>& info) { return std::string(info.param.name); });

TEST(ScriptedUiHost, AKeyDuringAWaitEndsItEarly)
{
    ScriptedUiHost host;
    RecordingForm form(host);
    host.OpenFullScreenWindow(form, false);
    host.QueueAtTime(2, ScriptedUiHost::Key{vk::Left});
    host.WaitAndDispatch(5);
    EXPECT_EQ(host.Now(), 2);
    EXPECT_EQ(form.keys, std::vector<int>{vk::Left});
    host.WaitAndDispatch(5);
    EXPECT_EQ(host.Now(), 7) << "without input a wait lasts its whole bound";
}

TEST(ScriptedUiHost, ACloseInsideAWaitIsSeenAfterIt)
{
    ScriptedUiHost host;
    RecordingForm form(host);
    host.OpenFullScreenWindow(form, false);
    form.onKey = [&](int) { host.RequestClose(); };
    host.QueueAtWait(1, ScriptedUiHost::Key{vk::Escape});
    host.WaitAndDispatch(5);
    EXPECT_TRUE(host.WindowOpen());
    host.WaitAndDispatch(5);
    EXPECT_EQ(form.closes, 1);
    EXPECT_TRUE(host.WindowDestroyed());
    host.Run(); // the loop has nothing left to run
}

TEST(ScriptedUiHost, ARefusedCloseLeavesTheWindowOpen)
{
    ScriptedUiHost host;
    RecordingForm form(host);
    form.allowClose = false;
    host.OpenFullScreenWindow(form, false);
    host.QueueAtWait(0, ScriptedUiHost::CloseRequest{});
    host.WaitAndDispatch(5);
    EXPECT_EQ(form.closes, 0);
    EXPECT_TRUE(host.WindowOpen());
}

TEST(ScriptedUiHost, PostedTasksAndWorkerBoxesRunOnTheUiThread)
{
    ScriptedUiHost host;
    RecordingForm form(host);
    host.OpenFullScreenWindow(form, false);
    host.AnswerMessageBoxesWith({mb::IdCancel});
    std::thread::id taskThread;
    int answer = 0;
    std::thread worker([&] {
        host.Post([&] { taskThread = std::this_thread::get_id(); });
        answer = host.WorkerMessageBox("text", "caption", mb::OkCancel);
        host.Post([&] { host.RequestClose(); });
    });
    UiTimer keepAlive(host, 1, 10, true); // Run() waits on the clock until the worker is done
    host.Run();
    worker.join();
    EXPECT_EQ(taskThread, std::this_thread::get_id());
    EXPECT_EQ(answer, mb::IdCancel);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].caption, "caption");
}

TEST(ScriptedUiHost, AWorkerBoxWithNoLoopLeftGetsTheCancellingAnswer)
{
    ScriptedUiHost host;
    EXPECT_EQ(host.WorkerMessageBox("no window yet", "", mb::YesNo), mb::IdNo);

    RecordingForm form(host);
    host.OpenFullScreenWindow(form, false);
    int answer = 0;
    std::thread worker([&] { answer = host.WorkerMessageBox("never shown", "", mb::OkCancel); });
    while (host.MessageBoxes().empty() && !host.WindowDestroyed()) {
        host.RequestClose(); // the close comes before the loop ever shows the box
    }
    worker.join();
    EXPECT_EQ(answer, mb::IdCancel);
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST(ScriptedUiHost, ACloseAskedForWhileOneIsInProgressIsIgnored)
{
    struct Case {
        const char* name;
        bool inQuery; // else inside Closed
        bool inWait;  // else directly
    };
    for (const Case c : {Case{"in the query", true, false}, Case{"in a wait of the query", true, true},
                         Case{"in Closed", false, false}}) {
        ScriptedUiHost host;
        RecordingForm form(host);
        host.OpenFullScreenWindow(form, false);
        const auto again = [&] {
            if (!c.inWait) return host.RequestClose();
            host.QueueAtWait(0, ScriptedUiHost::CloseRequest{});
            host.WaitAndDispatch(5);
        };
        (c.inQuery ? form.onCloseQuery : form.onClosed) = again;
        host.RequestClose();
        EXPECT_EQ(form.closeQueries, 1) << c.name;
        EXPECT_EQ(form.closes, 1) << c.name;
        EXPECT_TRUE(host.WindowDestroyed()) << c.name;
    }
}

TEST(ScriptedUiHost, TasksAfterTheCloseAreDropped)
{
    ScriptedUiHost host;
    RecordingForm form(host);
    host.OpenFullScreenWindow(form, false);
    std::vector<int> ran;
    host.Post([&] { ran.push_back(1); });
    host.Post([&] { host.RequestClose(); });
    host.Post([&] { ran.push_back(2); }); // same batch, after the close
    host.WaitAndDispatch(5);
    host.Post([&] { ran.push_back(3); });
    host.WaitAndDispatch(5);
    EXPECT_EQ(ran, std::vector<int>{1});
    EXPECT_EQ(form.closes, 1);
}

TEST(ScriptedUiHost, TheLastFrameKeepsWhatAPartialPresentLeftAlone)
{
    ScriptedUiHost host;
    host.Present(Bitmap(4, 2, kWhite));
    Bitmap next(4, 2, kBlack);
    host.Present(next, Rect{1, 0, 2, 1});
    Bitmap expected(4, 2, kWhite);
    expected.At(1, 0) = expected.At(2, 0) = kBlack;
    EXPECT_EQ(host.LastFrame(), expected);
    // A frame of another size is kept whole, whatever the change says.
    host.Present(Bitmap(2, 2, kBlack), Rect{0, 0, 1, 1});
    EXPECT_EQ(host.LastFrame(), Bitmap(2, 2, kBlack));
    EXPECT_EQ(host.LastChange(), (Rect{0, 0, 2, 2}));
}

} // namespace
