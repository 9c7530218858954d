// The calling thread's name and priority on Windows.
#include "platform/current_thread.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/windows_header.h"

TEST(CurrentThreadWin32, NamingGoesOnWithoutADebuggerAndSetsTheDescriptionWhereThereIsOne)
{
    using GetThreadDescriptionFunction = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    const auto getDescription = reinterpret_cast<GetThreadDescriptionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetThreadDescription")));
    bool returned = false;
    std::wstring description;
    std::thread([&] {
        NameCurrentThread("g_threadGetPhoto");
        returned = true;
        PWSTR text = nullptr;
        if (getDescription && SUCCEEDED(getDescription(GetCurrentThread(), &text)) && text) {
            description = text;
            LocalFree(text);
        }
    }).join();
    EXPECT_TRUE(returned);
    if (!getDescription) GTEST_SKIP() << "this system keeps no thread descriptions";
    EXPECT_EQ(description, L"g_threadGetPhoto");
}

TEST(CurrentThreadWin32, PriorityRisesOneStepForThisThreadOnly)
{
    int priority = 0;
    std::thread([&] {
        RaiseCurrentThreadPriority();
        priority = GetThreadPriority(GetCurrentThread());
    }).join();
    EXPECT_EQ(priority, THREAD_PRIORITY_ABOVE_NORMAL);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}
