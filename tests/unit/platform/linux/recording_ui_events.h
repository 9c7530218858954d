#pragma once
// A UiEvents that records what reaches it and on which thread, for the Linux UI host tests.
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/linux/ui_host_linux.h"
#include "unit/test_support/quiet_ui_events.h"

class RecordingUiEvents final : public QuietUiEvents {
public:
    void TimerTick(int timerId) override
    {
        Record();
        ticks.push_back(timerId);
        if (onTick) onTick(timerId);
    }
    void MediaNotify(unsigned flags) override
    {
        Record();
        media.push_back(flags);
    }

    std::vector<int> ticks;
    std::vector<unsigned> media;
    std::function<void(int)> onTick;
    // True while every event so far came on the thread that made this object.
    bool onCreatingThread = true;

private:
    void Record() { onCreatingThread = onCreatingThread && std::this_thread::get_id() == m_Creator; }
    std::thread::id m_Creator = std::this_thread::get_id();
};

// Pumps the host until done() holds or a few seconds pass; true when it held.
template <typename Done> bool PumpUntil(UiHost& host, Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        host.WaitAndDispatch(10);
    }
    return true;
}
