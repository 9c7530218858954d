#pragma once
// The rules that every UI host keeps, whatever its OS: the close protocol, the end of posted
// tasks, timer ticks and workers' boxes once the window is gone, and the last presented frame
// for repaints. An OS's host maps its native events and calls onto this class and its hooks.
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "platform/handler_guard.h"
#include "platform/ui_host.h"

class UiHostCore : public UiHost {
public:
    // CloseQuery; if allowed, the boxes and tasks end, Closed runs and the window is destroyed.
    // A close asked for while one is in progress is ignored.
    void RequestClose() final;

    void StartTimer(int timerId, int intervalMs) final
    {
        if (m_Phase == Phase::Gone) return;
        StartNativeTimer(timerId, intervalMs);
        m_Timers.insert(timerId);
    }
    void StopTimer(int timerId) final
    {
        StopNativeTimer(timerId);
        m_Timers.erase(timerId);
    }

    void Post(std::function<void()> task) final;
    int WorkerMessageBox(const std::string& text, const std::string& caption, unsigned style) final
    {
        const std::optional<int> answer = WhileBoxesShown([] {}) ? ShowWorkerBox(text, caption, style) : std::nullopt;
        return answer.value_or(CancellingAnswer(style));
    }

    // From any thread; the form hears it on the UI thread.
    void DeliverMediaNotify(unsigned flags) final;

    void Present(const Bitmap& frame) final { Present(frame, frame.Bounds()); }
    void Present(const Bitmap& frame, const Rect& changed) final;

    // Where events go, with or without a window, until the window has gone.
    void ConnectEvents(UiEvents& events) { m_Events = &events; }

protected:
    // boxesBeforeWindow: a worker's box may be shown before the window opens.
    explicit UiHostCore(bool boxesBeforeWindow = false) : m_BoxesShown(boxesBeforeWindow) {}

    void WindowOpened(UiEvents& events)
    {
        m_Events = &events;
        m_Phase = Phase::Open;
        const std::lock_guard lock(m_Guard);
        m_BoxesShown = true;
    }
    // The native window has been destroyed, by the close or otherwise: nothing more reaches the
    // form, tasks are dropped, boxes are answered and timers stop.
    void WindowGone();
    // The window now has the size that ScreenSize() gives.
    void WindowResized()
    {
        Deliver([](UiEvents& events) { events.Resized(); });
    }
    // The native window went away under the host (its owner destroyed it): the close protocol
    // runs so that the form releases what it holds, and the window is gone even if it refused.
    void WindowLost();
    // The same, and no events at all: first thing in the derived host's destructor.
    void ShutDown()
    {
        m_ShuttingDown = true;
        m_Events = nullptr;
        WindowGone();
    }

    bool WindowIsOpen() const { return m_Phase == Phase::Open; }
    bool WindowHasGone() const { return m_Phase == Phase::Gone; }
    bool ShuttingDown() const { return m_ShuttingDown; }
    // The host's UI thread is the one that created it.
    bool OnUiThread() const { return std::this_thread::get_id() == m_UiThread; }

    // Hands an event to the form, guarded, while there is a form to take it.
    template <typename Call>
    void Deliver(Call&& call)
    {
        if (UiEvents* events = m_Phase == Phase::Gone ? nullptr : m_Events) Guarded([&] { call(*events); });
    }
    // A native tick; a tick already on its way when its timer stopped is not delivered.
    void TimerTicked(int timerId)
    {
        if (m_Timers.contains(timerId)) Deliver([&](UiEvents& events) { events.TimerTick(timerId); });
    }
    // Runs the tasks posted until now; false when there were none. Once a task closes the window
    // the rest are dropped.
    bool RunPostedTasks();
    bool HasPostedTasks() { const auto lock = LockBoxes(); return !m_Tasks.empty(); }

    // Runs call under the boxes' lock while boxes may still be shown; false, without it, if not.
    template <typename Call>
    bool WhileBoxesShown(Call&& call)
    {
        const std::lock_guard lock(m_Guard);
        if (m_BoxesShown) call();
        return m_BoxesShown;
    }
    std::unique_lock<std::mutex> LockBoxes() { return std::unique_lock(m_Guard); }

    // The frame as the window should show it.
    const Bitmap& LastFrame() const { return m_LastFrame; }

    // OS hooks.
    virtual void DestroyNativeWindow() = 0;
    // Wakes the UI thread to call RunPostedTasks(); false if the wake-up could not be sent.
    virtual bool WakeForTasks() = 0;
    virtual void StartNativeTimer(int timerId, int intervalMs) = 0;
    virtual void StopNativeTimer(int timerId) = 0;
    // Shows a worker's box and waits for its answer; nothing when the box never came up.
    virtual std::optional<int> ShowWorkerBox(const std::string& text, const std::string& caption,
                                             unsigned style) = 0;
    // Answers the boxes up on the screen with their cancelling buttons.
    virtual void CancelWorkerBoxes() = 0;
    // Copies area of LastFrame() to the window; area may be empty.
    virtual void ShowFrame(const Rect& area) = 0;

private:
    enum class Phase { NoWindow, Open, Gone };
    void EndBoxesAndTasks();

    const std::thread::id m_UiThread = std::this_thread::get_id();
    UiEvents* m_Events = nullptr;
    Phase m_Phase = Phase::NoWindow;
    bool m_Closing = false;
    bool m_ShuttingDown = false;
    std::set<int> m_Timers;
    Bitmap m_LastFrame;

    std::mutex m_Guard; // what workers reach: the tasks and whether boxes may be shown
    std::deque<std::function<void()>> m_Tasks;
    bool m_AcceptingTasks = true;
    bool m_WakePending = false;
    bool m_BoxesShown;
};
