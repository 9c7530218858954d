#pragma once
// Work handed to the UI thread from any thread: tasks run by a source on the default GLib main
// context, and calls whose caller waits for the result. Shared (std::shared_ptr) between the UI
// host and the threads that use it, so that a caller still waiting when the host goes away
// touches nothing freed.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/linux/glib_owners.h"

class UiThreadChannel {
public:
    // Attaches the channel's source to the default main context. On the UI thread.
    UiThreadChannel();
    UiThreadChannel(const UiThreadChannel&) = delete;
    UiThreadChannel& operator=(const UiThreadChannel&) = delete;
    ~UiThreadChannel();

    // Queues a task for the UI thread and wakes it. False (the task dropped) once closed.
    bool Post(std::function<void()> task);
    // Runs job on the UI thread and waits for its result. Nothing, at once, when no loop will
    // run it (closed, or neither a window nor a running wait keeps the UI thread pumping), and
    // nothing when the channel closes while the caller waits.
    std::optional<int> Call(std::function<int()> job);
    // As Call, for a job whose result comes later: job gets the function that delivers it (the
    // first delivery counts), and may return before calling it, leaving the UI thread free.
    using Reply = std::function<void(int)>;
    std::optional<int> Ask(std::function<void(Reply)> job);

    // The UI thread's loop state, which decides whether Call can be served.
    void SetWindowOpen(bool open);
    void EnterPump();
    void LeavePump();
    // Drops the queued tasks, refuses new ones and releases the callers waiting. On the UI thread.
    void Close();

    std::size_t QueuedTasks() const;

private:
    friend struct ChannelSource;
    bool HasTasks() const;
    void RunQueued();

    mutable std::mutex m_Mutex;
    std::condition_variable m_Answered;
    std::deque<std::function<void()>> m_Tasks;
    bool m_Closed = false;
    bool m_WindowOpen = false;
    int m_Pumps = 0;
    SourcePtr m_Source;
};

// Marks the UI thread as pumping for its lifetime.
class PumpScope {
public:
    explicit PumpScope(UiThreadChannel& channel) : m_Channel(channel) { m_Channel.EnterPump(); }
    PumpScope(const PumpScope&) = delete;
    PumpScope& operator=(const PumpScope&) = delete;
    ~PumpScope() { m_Channel.LeavePump(); }

private:
    UiThreadChannel& m_Channel;
};
