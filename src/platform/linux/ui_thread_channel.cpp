#include "platform/linux/ui_thread_channel.h"

#include <glib.h>

#include <memory>
#include <utility>

struct ChannelSource {
    GSource base;
    UiThreadChannel* channel;

    static gboolean Prepare(GSource* source, gint* timeout)
    {
        *timeout = -1;
        return reinterpret_cast<ChannelSource*>(source)->channel->HasTasks();
    }
    static gboolean Check(GSource* source) { return reinterpret_cast<ChannelSource*>(source)->channel->HasTasks(); }
    static gboolean Dispatch(GSource* source, GSourceFunc, gpointer)
    {
        reinterpret_cast<ChannelSource*>(source)->channel->RunQueued();
        return G_SOURCE_CONTINUE;
    }
};

namespace {

GSourceFuncs g_ChannelFuncs = {ChannelSource::Prepare, ChannelSource::Check, ChannelSource::Dispatch, nullptr, nullptr, nullptr};

struct CallState {
    bool done = false;
    std::optional<int> result;
};

} // namespace

UiThreadChannel::UiThreadChannel()
{
    m_Source.reset(g_source_new(&g_ChannelFuncs, sizeof(ChannelSource)));
    reinterpret_cast<ChannelSource*>(m_Source.get())->channel = this;
    // A task may wait (an animation step, a message box): tasks posted meanwhile still run.
    g_source_set_can_recurse(m_Source.get(), TRUE);
    g_source_attach(m_Source.get(), nullptr);
}

UiThreadChannel::~UiThreadChannel() = default;

bool UiThreadChannel::Post(std::function<void()> task)
{
    {
        const std::lock_guard lock(m_Mutex);
        if (m_Closed) return false;
        m_Tasks.push_back(std::move(task));
    }
    g_main_context_wakeup(nullptr);
    return true;
}

std::optional<int> UiThreadChannel::Call(std::function<int()> job)
{
    return Ask([job = std::move(job)](const Reply& reply) { reply(job()); });
}

std::optional<int> UiThreadChannel::Ask(std::function<void(Reply)> job)
{
    const auto state = std::make_shared<CallState>();
    {
        const std::lock_guard lock(m_Mutex);
        if (m_Closed || (!m_WindowOpen && m_Pumps == 0)) return std::nullopt;
    }
    // The reply may come after the caller has stopped waiting (the channel closed), never after
    // the channel is gone: whoever holds it lives on the UI thread, which the channel outlives.
    const auto deliver = [this, state](std::optional<int> result) {
        const std::lock_guard lock(m_Mutex);
        if (state->done) return;
        state->done = true;
        state->result = result;
        m_Answered.notify_all();
    };
    const bool queued = Post([deliver, job = std::move(job)] {
        try {
            job([deliver](int result) { deliver(result); });
        } catch (...) {
            // The caller gets no answer rather than an exception on the wrong thread.
            deliver(std::nullopt);
        }
    });
    if (!queued) return std::nullopt;
    std::unique_lock lock(m_Mutex);
    m_Answered.wait(lock, [&] { return state->done || m_Closed; });
    return state->result;
}

void UiThreadChannel::SetWindowOpen(bool open)
{
    const std::lock_guard lock(m_Mutex);
    m_WindowOpen = open;
}

void UiThreadChannel::EnterPump()
{
    const std::lock_guard lock(m_Mutex);
    ++m_Pumps;
}

void UiThreadChannel::LeavePump()
{
    const std::lock_guard lock(m_Mutex);
    --m_Pumps;
}

void UiThreadChannel::Close()
{
    std::deque<std::function<void()>> dropped;
    {
        const std::lock_guard lock(m_Mutex);
        m_Closed = true;
        dropped.swap(m_Tasks);
        m_Answered.notify_all();
    }
    // The dropped tasks are destroyed here, outside the lock: their captures may post again.
}

std::size_t UiThreadChannel::QueuedTasks() const
{
    const std::lock_guard lock(m_Mutex);
    return m_Tasks.size();
}

bool UiThreadChannel::HasTasks() const
{
    const std::lock_guard lock(m_Mutex);
    return !m_Tasks.empty();
}

void UiThreadChannel::RunQueued()
{
    // Only what was queued on entry: a task that posts again cannot keep the wait from ending.
    std::size_t count = QueuedTasks();
    while (count-- > 0) {
        std::function<void()> task;
        {
            const std::lock_guard lock(m_Mutex);
            if (m_Tasks.empty()) return;
            task = std::move(m_Tasks.front());
            m_Tasks.pop_front();
        }
        try {
            task();
        } catch (...) {
            // Never unwind into GLib; the host's tasks report their own errors.
        }
    }
}
