// The calling thread's name and nice value on Linux.
#include "platform/current_thread.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace {

int NiceOfThisThread() { return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid())); }

} // namespace

TEST(CurrentThreadLinux, ANameIsCutToWhatTheKernelKeeps)
{
    std::string name;
    std::thread([&] {
        NameCurrentThread("g_threadGetPhoto");
        char buffer[32] = {};
        ::pthread_getname_np(::pthread_self(), buffer, sizeof buffer);
        name = buffer;
    }).join();
    EXPECT_EQ(name, "g_threadGetPhot");
}

TEST(CurrentThreadLinux, PriorityRisesOneStepWherePermittedAndOnlyForThisThread)
{
    const int mainBefore = NiceOfThisThread();
    int before = 0;
    int after = 0;
    std::thread([&] {
        before = NiceOfThisThread();
        RaiseCurrentThreadPriority();
        after = NiceOfThisThread();
    }).join();
    if (::geteuid() == 0) {
        EXPECT_EQ(after, before - 1);
    } else {
        EXPECT_TRUE(after == before || after == before - 1) << before << " -> " << after;
    }
    EXPECT_EQ(NiceOfThisThread(), mainBefore);
}
