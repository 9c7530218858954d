#pragma once
// A UI host for tests: no display, a virtual clock in milliseconds, timers that tick on that
// clock, and input events queued for delivery at a chosen wait or a chosen time. It runs the
// form's handlers on the thread that calls Run() or WaitAndDispatch(), under the real hosts' rules.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "platform/ui_host_core.h"

// What the scripted host's music player was told, and its state. A file whose name contains
// "bad" cannot be opened; a track plays until the test ends it.
struct ScriptedPlayerState {
    struct Command {
        std::string what; // "open", "play" or "close"
        std::string path;
        bool wait = false;
        bool notify = false;
    };
    std::vector<Command> commands;
    int mode = 1; // stopped
    std::string file;
    // The paths opened successfully, in order.
    std::vector<std::string> Played() const;
};

class ScriptedUiHost : public UiHostCore {
public:
    struct Key {
        int code;
        ShiftState shift{};
    };
    struct MouseDownAt {
        MouseButton button;
        Point at{};
    };
    struct MouseMoveTo {
        Point at{};
    };
    struct PaintRequest {};
    struct CloseRequest {};
    // The window, not ours, takes a new size; or its owner destroys it.
    struct Resize {
        Size size;
    };
    struct WindowLoss {};
    using Input = std::variant<Key, MouseDownAt, MouseMoveTo, PaintRequest, CloseRequest, Resize, WindowLoss>;

    struct DrawnText {
        TextFont font;
        Point at;
        std::string text;
    };
    struct MessageBoxCall {
        std::string text;
        std::string caption;
        unsigned style;
    };

    explicit ScriptedUiHost(Size screen = {1024, 768}) : m_Screen(screen) {}
    // Workers must have left WorkerMessageBox before the host goes.
    ~ScriptedUiHost() override { ShutDown(); }

    // Script. An input queued for wait k arrives during the k-th WaitAndDispatch from now on
    // (0 is the next one) and ends that wait at once; one queued at a time arrives when the
    // clock reaches it, in a wait or in Run().
    void QueueAtWait(int waitsFromNow, Input input);
    void QueueAtTime(std::int64_t timeMs, Input input);
    // What the next worker message boxes answer; mb::IdOk once the list is used up.
    void AnswerMessageBoxesWith(std::vector<int> answers) { m_BoxAnswers = std::move(answers); }
    // Time spent working between waits: the clock moves on, nothing is dispatched.
    void Advance(std::int64_t ms) { m_Now += ms; }
    void SetRefreshRate(double hertz) { m_RefreshRate = hertz; }
    // The next start of this timer fails as the OS can fail it: StartTimer throws Error.
    void FailNextTimerStart(int timerId) { m_FailingStarts.insert(timerId); }

    // Observations.
    std::int64_t Now() const { return m_Now; }
    int WaitCount() const { return m_Waits; }
    bool WindowOpen() const { return WindowIsOpen(); }
    bool WindowDestroyed() const { return WindowHasGone(); }
    bool TopMost() const { return m_TopMost; }
    int PresentCount() const { return m_Presents; }
    // When each present reached the screen, the latest kKeptPresents of them.
    static constexpr std::size_t kKeptPresents = 1000;
    const std::vector<std::int64_t>& PresentTimes() const { return m_PresentTimes; }
    using UiHostCore::LastFrame;
    // The area of the last present that reached the screen.
    std::optional<Rect> LastChange() const { return m_LastChange; }
    // The texts drawn since the last ClearTexts(), the latest kKeptTexts of them.
    static constexpr std::size_t kKeptTexts = 100;
    const std::vector<DrawnText>& Texts() const { return m_Texts; }
    void ClearTexts() { m_Texts.clear(); }
    std::vector<MessageBoxCall> MessageBoxes() const;
    bool TimerRunning(int timerId) const { return m_Timers.count(timerId) != 0; }
    std::thread::id UiThread() const { return m_UiThread; }

    // UiHost.
    void OpenFullScreenWindow(UiEvents& events, bool topMost) override;
    Size ScreenSize() const override { return m_Screen; }
    double RefreshRate() const override { return m_RefreshRate; }
    std::int64_t MonotonicMs() const override { return m_Now; }
    NativeWindow Window() const override { return WindowOpen() ? const_cast<ScriptedUiHost*>(this) : nullptr; }
    // Runs until the window is destroyed, or until nothing is left to happen, or until the clock
    // passes RunLimit().
    void Run() override;
    void WaitAndDispatch(int maxMs) override;
    // Work on another thread takes no time on the virtual clock and no wait: only the tasks it
    // posts are run until it is done, so that a test decides what happens during it.
    void DispatchUntil(const std::function<bool()>& done) override;
    NativeWindow MediaNotifyWindow() const override { return nullptr; }
    void DrawText(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text) override;

    std::unique_ptr<MediaPlayer> CreateMediaPlayer() override;
    ScriptedPlayerState& Player() { return m_Player; }
    // The playing track ends: the player stops and notifies.
    void EndTrack();

    // Run() stops when the clock would pass this time.
    void SetRunLimit(std::int64_t timeMs) { m_RunLimit = timeMs; }

private:
    struct Timer {
        int interval;
        std::int64_t due;
    };
    struct Timed {
        std::int64_t time;
        Input input;
    };

    void DestroyNativeWindow() override { WindowGone(); }
    // Run() and the waits look at the posted tasks themselves.
    bool WakeForTasks() override { return true; }
    void StartNativeTimer(int timerId, int intervalMs) override;
    void StopNativeTimer(int timerId) override { m_Timers.erase(timerId); }
    std::optional<int> ShowWorkerBox(const std::string& text, const std::string& caption, unsigned style) override;
    void CancelWorkerBoxes() override;
    void ShowFrame(const Rect& area) override
    {
        ++m_Presents;
        m_LastChange = area;
        if (m_PresentTimes.size() >= kKeptPresents) m_PresentTimes.erase(m_PresentTimes.begin());
        m_PresentTimes.push_back(m_Now);
    }

    void DeliverInput(const Input& input);
    // Posted tasks and worker boxes, in the order they came, and those they post.
    void RunPosted()
    {
        while (RunPostedTasks()) {
        }
    }
    // Every timer due by now ticks once, earliest first.
    void TickDueTimers();
    void DeliverDueInputs();
    std::optional<std::int64_t> NextTimerDue() const;
    std::optional<std::int64_t> NextTimedInput() const;

    Size m_Screen;
    bool m_TopMost = false;
    std::int64_t m_Now = 0;
    std::int64_t m_RunLimit = 24 * 3600 * 1000;
    int m_Waits = 0;
    std::map<int, Timer> m_Timers;
    std::set<int> m_FailingStarts;
    std::map<int, std::vector<Input>> m_AtWait; // by absolute wait number
    std::vector<Timed> m_AtTime;
    std::vector<int> m_BoxAnswers;
    int m_Presents = 0;
    std::vector<std::int64_t> m_PresentTimes;
    double m_RefreshRate = kDefaultRefreshRate;
    std::optional<Rect> m_LastChange;
    std::vector<DrawnText> m_Texts;
    std::thread::id m_UiThread = std::this_thread::get_id();

    ScriptedPlayerState m_Player;

    mutable std::mutex m_Mutex; // guards what workers reach: the boxes
    std::condition_variable m_BoxAnswered;
    std::vector<MessageBoxCall> m_Boxes;
    bool m_BoxesCancelled = false;
};
