// Calls from a worker to the UI thread: served while the UI thread pumps, refused at once when
// nothing will serve them, released when the channel closes.
#include <gtest/gtest.h>
#include <glib.h>

#include <chrono>
#include <future>
#include <thread>

#include "platform/linux/ui_thread_channel.h"

namespace {

using std::chrono::seconds;

template <typename Done> bool IterateUntil(Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        g_main_context_iteration(nullptr, FALSE);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(UiThreadChannel, ACallIsServedOnThePumpingUiThread)
{
    UiThreadChannel channel;
    const PumpScope pump(channel);
    const auto uiThread = std::this_thread::get_id();
    auto result = std::async(std::launch::async, [&] {
        return channel.Call([&] { return std::this_thread::get_id() == uiThread ? 42 : -1; });
    });
    ASSERT_TRUE(IterateUntil([&] { return result.wait_for(seconds(0)) == std::future_status::ready; }));
    EXPECT_EQ(result.get(), std::optional<int>(42));
}

TEST(UiThreadChannel, ACallThatNothingWillServeIsRefusedAtOnce)
{
    struct Case {
        const char* state;
        bool windowOpen;
        bool closed;
    };
    const Case cases[] = {{"no window, no wait", false, false}, {"closed", true, true}};
    for (const Case& c : cases) {
        UiThreadChannel channel;
        channel.SetWindowOpen(c.windowOpen);
        if (c.closed) channel.Close();
        bool ran = false;
        auto result = std::async(std::launch::async, [&] { return channel.Call([&] { ran = true; return 1; }); });
        ASSERT_EQ(result.wait_for(seconds(5)), std::future_status::ready) << c.state;
        EXPECT_EQ(result.get(), std::nullopt) << c.state;
        EXPECT_EQ(channel.QueuedTasks(), 0u) << c.state;
        EXPECT_FALSE(ran) << c.state;
    }
}

TEST(UiThreadChannel, ClosingReleasesAWaitingCallerAndDropsItsJob)
{
    UiThreadChannel channel;
    channel.SetWindowOpen(true);
    bool ran = false;
    auto result = std::async(std::launch::async, [&] { return channel.Call([&] { ran = true; return 1; }); });
    const auto deadline = std::chrono::steady_clock::now() + seconds(5);
    while (channel.QueuedTasks() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    channel.Close();
    ASSERT_EQ(result.wait_for(seconds(5)), std::future_status::ready);
    EXPECT_EQ(result.get(), std::nullopt);
    g_main_context_iteration(nullptr, FALSE);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(channel.Post([] {}));
}

} // namespace
