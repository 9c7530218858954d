// The Windows UI host under Wine. Without a display Wine creates the message-only window but no
// top-level window, so the cases that need the form's window skip themselves there; the
// integration probe (tests/integration/test_ui_host.sh) covers them on a display.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <optional>
#include <memory>
#include <thread>
#include <vector>

#include "gfx/error.h"
#include "platform/ui_host.h"
#include "platform/win32/mouse_buttons.h"
#include "platform/win32/windows_header.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class RecordingEvents final : public UiEvents {
public:
    void KeyDown(int, ShiftState) override {}
    void MouseDown(MouseButton button, Point) override { buttons.push_back(button); }
    void MouseMove(Point) override {}
    void Paint() override {}
    bool CloseQuery() override
    {
        ++closeQueries;
        return allowClose;
    }
    void Closed() override { ++closes; }
    void TimerTick(int timerId) override { ticks.push_back(timerId); }
    void MediaNotify(unsigned flags) override { notifications.push_back(flags); }

    bool allowClose = true;
    int closeQueries = 0;
    int closes = 0;
    std::vector<int> ticks;
    std::vector<unsigned> notifications;
    std::vector<MouseButton> buttons;
};

// Dispatches until done() or about two seconds have passed.
template <typename Done>
void PumpUntil(UiHost& host, Done done)
{
    const auto start = Clock::now();
    while (!done() && MillisecondsSince(start) < 2000) host.WaitAndDispatch(5);
}

#define OPEN_WINDOW_OR_SKIP(host, events)                                                                \
    do {                                                                                                 \
        try {                                                                                            \
            (host).OpenFullScreenWindow((events), false);                                                \
        } catch (const Error& error) {                                                                   \
            GTEST_SKIP() << "Wine opens no top-level window without a display (" << error.what()       \
                         << "); runs with DISPLAY set, and test_ui_host.sh drives the window";          \
        }                                                                                                \
    } while (false)

TEST(UiHostWin32, TasksPostedFromAnotherThreadRunInOrderOnTheUiThread)
{
    const auto host = CreateUiHost();
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) host->Post([&, i] {
            order.push_back(i);
            threads.push_back(std::this_thread::get_id());
        });
    });
    worker.join();
    PumpUntil(*host, [&] { return order.size() == 3; });
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    for (const auto& thread : threads) EXPECT_EQ(thread, std::this_thread::get_id());
}

TEST(UiHostWin32, TasksStillQueuedWhenTheHostGoesAreDroppedUnrun)
{
    auto owned = std::make_shared<int>(0);
    bool ran = false;
    {
        const auto host = CreateUiHost();
        host->Post([owned, &ran] { ran = true; });
        EXPECT_EQ(owned.use_count(), 2);
    }
    EXPECT_FALSE(ran);
    EXPECT_EQ(owned.use_count(), 1) << "the host keeps no task after it is gone";
}

TEST(UiHostWin32, WaitAndDispatchWaitsUpToItsBoundWhenNothingHappens)
{
    const auto host = CreateUiHost();
    for (const int maxMs : {0, 30, 120}) {
        const auto start = Clock::now();
        host->WaitAndDispatch(maxMs);
        const long long elapsed = MillisecondsSince(start);
        EXPECT_GE(elapsed, maxMs / 2) << maxMs;
        EXPECT_LT(elapsed, maxMs + 1000) << maxMs;
    }
}

TEST(UiHostWin32, WithoutAWindowRunReturnsAtOnceAndWorkerBoxesGetTheirCancellingAnswer)
{
    const auto host = CreateUiHost();
    EXPECT_EQ(host->Window(), nullptr);
    const auto start = Clock::now();
    host->Run();
    struct Case {
        unsigned style;
        int answer;
    };
    for (const Case& c : {Case{mb::Ok | mb::IconInformation, mb::IdOk}, Case{mb::OkCancel, mb::IdCancel},
                          Case{mb::YesNo | mb::IconQuestion | mb::DefButton2, mb::IdNo}}) {
        int answer = 0;
        std::thread worker([&] { answer = host->WorkerMessageBox("text", "caption", c.style); });
        worker.join();
        EXPECT_EQ(answer, c.answer) << "style " << c.style;
    }
    EXPECT_LT(MillisecondsSince(start), 2000);
}

TEST(UiHostWin32, MediaNotifyWindowIsAMessageOnlyWindowThatGoesWithTheHost)
{
    HWND notifyWindow = nullptr;
    {
        const auto host = CreateUiHost();
        const auto second = CreateUiHost(); // two hosts share the window class
        notifyWindow = static_cast<HWND>(host->MediaNotifyWindow());
        ASSERT_TRUE(IsWindow(notifyWindow));
        EXPECT_NE(notifyWindow, second->MediaNotifyWindow());
        EXPECT_FALSE(IsWindowVisible(notifyWindow));
        // A notification before the window opens has nobody to go to, and is harmless.
        SendMessageA(notifyWindow, 0x3B9, mcinotify::Successful, 0);
    }
    EXPECT_FALSE(IsWindow(notifyWindow));
    // The class went with the last host and comes back with the next one.
    const auto later = CreateUiHost();
    EXPECT_TRUE(IsWindow(static_cast<HWND>(later->MediaNotifyWindow())));
}

TEST(UiHostWin32, DrawTextIsBlackOnATransparentBackgroundFromItsTopLeft)
{
    const auto host = CreateUiHost();
    constexpr Pixel kBlue = MakePixel(0x33, 0x66, 0xCC);
    // Rows and columns of the frame that the text made dark.
    struct Ink {
        int top = 1 << 30, bottom = -1, left = 1 << 30, right = -1;
        int changedNotDark = 0;
    };
    const auto draw = [&](int points, Point at) {
        Bitmap frame(400, 160, kBlue);
        host->DrawText(frame, TextFont{"Arial", points}, at, "Tovelin");
        Ink ink;
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x) {
                const Pixel p = frame.At(x, y) & 0xFFFFFF;
                if (p == kBlue) continue;
                if (p >= 0x202020) {
                    ++ink.changedNotDark; // an edge pixel, or a background that was painted
                    continue;
                }
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
            }
        return ink;
    };
    const Ink big = draw(36, Point{20, 30});
    ASSERT_GE(big.bottom, 0) << "no dark pixels";
    EXPECT_GE(big.top, 30);
    EXPECT_LE(big.top, 30 + 20) << "the capital's top lies near the text's top";
    EXPECT_GE(big.left, 20);
    EXPECT_LE(big.left, 20 + 10);
    const Ink small = draw(18, Point{20, 30});
    ASSERT_GE(small.bottom, 0);
    const double ratio = double(big.bottom - big.top + 1) / double(small.bottom - small.top + 1);
    EXPECT_GT(ratio, 1.6) << "twice the points, about twice the height";
    EXPECT_LT(ratio, 2.4);
    EXPECT_LT(big.changedNotDark, (big.right - big.left) * (big.bottom - big.top) / 2)
        << "the background stays as it was around the glyphs";
}

TEST(UiHostWin32, DrawTextIsClippedToTheTarget)
{
    const auto host = CreateUiHost();
    for (const Point at : {Point{-40, -20}, Point{90, 30}, Point{-5000, 10}, Point{10, 5000}}) {
        Bitmap frame(100, 40, kWhite);
        const Bitmap before = frame;
        host->DrawText(frame, TextFont{"Arial", 24}, at, "Tovelin");
        const bool inside = at.x > -1000 && at.y < 1000;
        EXPECT_EQ(frame != before, inside) << at.x << "," << at.y;
    }
}

TEST(UiHostWin32, TimersTickByIdAStartRestartsAndAStopCancelsThePendingTick)
{
    const auto host = CreateUiHost();
    RecordingEvents events;
    OPEN_WINDOW_OR_SKIP(*host, events);
    const auto started = Clock::now();
    host->StartTimer(3, 80);
    while (MillisecondsSince(started) < 50) host->WaitAndDispatch(5);
    host->StartTimer(3, 80);
    PumpUntil(*host, [&] { return !events.ticks.empty(); });
    EXPECT_GE(MillisecondsSince(started), 110) << "the restart put the tick a full interval away";

    host->StartTimer(3, 20);
    host->StartTimer(4, 10000);
    PumpUntil(*host, [&] { return events.ticks.size() >= 2; });
    EXPECT_EQ(events.ticks, (std::vector<int>{3, 3}));
    host->StopTimer(3);
    events.ticks.clear();
    const auto start = Clock::now();
    while (MillisecondsSince(start) < 150) host->WaitAndDispatch(10);
    EXPECT_TRUE(events.ticks.empty());
}

TEST(UiHostWin32, MediaNotificationsReachTheFormWithTheirFlags)
{
    const auto host = CreateUiHost();
    RecordingEvents events;
    OPEN_WINDOW_OR_SKIP(*host, events);
    const auto window = static_cast<HWND>(host->MediaNotifyWindow());
    PostMessageA(window, 0x3B9, mcinotify::Successful, 0);
    PostMessageA(window, 0x3B9, mcinotify::Aborted, 0);
    PumpUntil(*host, [&] { return events.notifications.size() == 2; });
    EXPECT_EQ(events.notifications, (std::vector<unsigned>{mcinotify::Successful, mcinotify::Aborted}));
}

TEST(UiHostWin32, AClosedWindowEndsTheLoopAndTheServicesThatNeedIt)
{
    const auto host = CreateUiHost();
    RecordingEvents events;
    OPEN_WINDOW_OR_SKIP(*host, events);
    events.allowClose = false;
    host->RequestClose();
    EXPECT_EQ(events.closeQueries, 1);
    EXPECT_EQ(events.closes, 0);
    ASSERT_NE(host->Window(), nullptr);

    // Closed from a task inside a wait: the caller sees it afterwards, and Run returns at once.
    events.allowClose = true;
    host->Post([&] { host->RequestClose(); });
    PumpUntil(*host, [&] { return events.closes == 1; });
    EXPECT_EQ(events.closes, 1);
    EXPECT_EQ(host->Window(), nullptr);
    const auto start = Clock::now();
    host->Run();
    bool ran = false;
    host->Post([&] { ran = true; });
    host->WaitAndDispatch(20);
    EXPECT_FALSE(ran) << "tasks after the loop has ended are dropped";
    EXPECT_EQ(host->WorkerMessageBox("text", "caption", mb::OkCancel), mb::IdCancel);
    EXPECT_LT(MillisecondsSince(start), 2000);
}

TEST(UiHostWin32, AWorkersBoxStandsInFrontOfATopMostShowAndGoesWithItsCancellingAnswerOnClose)
{
    const auto host = CreateUiHost();
    RecordingEvents events;
    try {
        host->OpenFullScreenWindow(events, true);
    } catch (const Error& error) {
        GTEST_SKIP() << "Wine opens no top-level window without a display (" << error.what() << ")";
    }
    auto answer = std::async(std::launch::async, [&] { return host->WorkerMessageBox("Go on?", "Probe", mb::OkCancel); });
    HWND box = nullptr;
    // Its place among the windows is settled by the time it shows.
    PumpUntil(*host, [&] { return (box = FindWindowA("#32770", "Probe")) != nullptr && IsWindowVisible(box); });
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) << std::hex << GetWindowLongA(box, GWL_EXSTYLE);
    host->RequestClose();
    const bool answered = answer.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
    if (!answered) PostMessageA(box, WM_COMMAND, IDOK, 0); // lets the worker go, the test failed
    ASSERT_TRUE(answered);
    EXPECT_EQ(answer.get(), mb::IdCancel);
    EXPECT_EQ(events.closes, 1);
}

TEST(UiHostWin32, ButtonDownMessagesMapToTheFormsButtons)
{
    struct Case {
        UINT message;
        WPARAM wParam;
        std::optional<MouseButton> button;
    };
    const Case cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, MouseButton::Left},
        {WM_RBUTTONDOWN, MK_RBUTTON, MouseButton::Right},
        {WM_MBUTTONDOWN, MK_MBUTTON, MouseButton::Middle},
        {WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), MouseButton::Back},
        {WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON2, XBUTTON2), MouseButton::Forward},
        {WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), std::nullopt},
        {WM_LBUTTONUP, 0, std::nullopt},
        {WM_MOUSEMOVE, 0, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ButtonDownOf(c.message, c.wParam), c.button) << c.message;
}

TEST(UiHostWin32, TheBackAndForwardButtonsReachTheForm)
{
    const auto host = CreateUiHost();
    RecordingEvents events;
    OPEN_WINDOW_OR_SKIP(*host, events);
    const auto window = static_cast<HWND>(host->Window());
    EXPECT_EQ(SendMessageA(window, WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), MAKELPARAM(10, 20)), TRUE);
    EXPECT_EQ(SendMessageA(window, WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON2, XBUTTON2), MAKELPARAM(10, 20)), TRUE);
    EXPECT_EQ(events.buttons, (std::vector<MouseButton>{MouseButton::Back, MouseButton::Forward}));
}

} // namespace
