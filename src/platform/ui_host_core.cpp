#include "platform/ui_host_core.h"

#include <algorithm>
#include <utility>

void UiHostCore::RequestClose()
{
    UiEvents* events = m_Events;
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

void UiHostCore::WindowLost()
{
    if (m_Phase != Phase::Open) return;
    // A close already under way ends by itself; it only has to find the window gone.
    if (m_Closing) return;
    RequestClose();
    if (m_Phase == Phase::Open) {
        DestroyNativeWindow();
        if (m_Phase == Phase::Open) WindowGone();
    }
}

void UiHostCore::WindowGone()
{
    m_Phase = Phase::Gone;
    EndBoxesAndTasks();
    for (const int timerId : std::exchange(m_Timers, {})) StopNativeTimer(timerId);
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

void UiHostCore::DeliverMediaNotify(unsigned flags)
{
    if (!OnUiThread()) return Post([this, flags] { DeliverMediaNotify(flags); });
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
