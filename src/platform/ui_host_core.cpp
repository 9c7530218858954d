#include "platform/ui_host_core.h"

#include <algorithm>
#include <utility>

void UiHostCore::WindowOpened(UiEvents& events)
{
    m_Events = &events;
    m_Phase = Phase::Open;
    const std::lock_guard lock(m_Guard);
    m_BoxesShown = true;
}

void UiHostCore::RequestClose()
{
    UiEvents* events = LiveEvents();
    if (!events || m_Phase != Phase::Open || m_Closing) return;
    m_Closing = true;
    bool allowed = false;
    Guarded([&] { allowed = events->CloseQuery(); });
    // CloseQuery may have waited, and the window may have gone meanwhile.
    if (allowed && m_Phase == Phase::Open) {
        // Closed waits for the workers, one of which may be waiting for a box; no loop is left
        // to run what they post.
        EndBoxesAndTasks();
        Guarded([&] { events->Closed(); });
        DestroyNativeWindow();
    }
    m_Closing = false;
}

void UiHostCore::WindowGone()
{
    m_Phase = Phase::Gone;
    EndBoxesAndTasks();
    for (const int timerId : std::exchange(m_Timers, {})) StopNativeTimer(timerId);
}

void UiHostCore::ShutDown()
{
    m_ShuttingDown = true;
    m_Events = nullptr;
    WindowGone();
}

void UiHostCore::EndBoxesAndTasks()
{
    // Dropped outside the lock: a task's captures may post again as they go.
    std::deque<std::function<void()>> dropped;
    {
        const std::lock_guard lock(m_Guard);
        m_AcceptingTasks = false;
        m_BoxesShown = false;
        dropped.swap(m_Tasks);
    }
    CancelWorkerBoxes();
}

void UiHostCore::StartTimer(int timerId, int intervalMs)
{
    if (m_Phase == Phase::Gone) return;
    StartNativeTimer(timerId, intervalMs);
    m_Timers.insert(timerId);
}

void UiHostCore::StopTimer(int timerId)
{
    StopNativeTimer(timerId);
    m_Timers.erase(timerId);
}

void UiHostCore::TimerTicked(int timerId)
{
    // A tick already on its way when its timer stopped is not delivered.
    if (m_Timers.contains(timerId)) Deliver([&](UiEvents& events) { events.TimerTick(timerId); });
}

void UiHostCore::Post(std::function<void()> task)
{
    if (!task) return;
    const std::lock_guard lock(m_Guard);
    if (!m_AcceptingTasks) return;
    m_Tasks.push_back(std::move(task));
    // One wake-up per batch; a failed one is tried again by the next task.
    if (!m_WakePending) m_WakePending = WakeForTasks();
}

bool UiHostCore::RunPostedTasks()
{
    std::deque<std::function<void()>> batch;
    {
        const std::lock_guard lock(m_Guard);
        batch.swap(m_Tasks);
        m_WakePending = false;
    }
    for (auto& task : batch) {
        if (m_Phase == Phase::Gone) break;
        Guarded(task);
    }
    return !batch.empty();
}

int UiHostCore::WorkerMessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    std::optional<int> answer;
    if (WhileBoxesShown([] {})) answer = ShowWorkerBox(text, caption, style);
    return answer.value_or(CancellingAnswer(style));
}

void UiHostCore::DeliverMediaNotify(unsigned flags)
{
    Deliver([&](UiEvents& events) { events.MediaNotify(flags); });
}

void UiHostCore::Present(const Bitmap& frame, const Rect& changed)
{
    if (frame.IsEmpty()) return;
    Rect area = changed.Intersected(frame.Bounds());
    if (m_LastFrame.GetSize() != frame.GetSize()) {
        // Nothing of an earlier frame of another size is kept.
        m_LastFrame = frame;
        area = frame.Bounds();
    } else {
        for (int y = area.y; y < area.Bottom(); ++y)
            std::copy(frame.Row(y) + area.x, frame.Row(y) + area.Right(), m_LastFrame.Row(y) + area.x);
    }
    ShowFrame(area);
}
