#include "platform/current_thread.h"

#include <string>

#include "platform/win32/windows_header.h"

namespace {

// The exception by which debuggers learn a thread's name.
constexpr DWORD kThreadNameException = 0x406D1388;

#pragma pack(push, 8)
struct ThreadNameInfo {
    DWORD type = 0x1000;
    LPCSTR name = nullptr;
    DWORD threadId = static_cast<DWORD>(-1); // the calling thread
    DWORD flags = 0;
};
#pragma pack(pop)

LONG CALLBACK ContinueAfterThreadName(EXCEPTION_POINTERS* exception)
{
    return exception->ExceptionRecord->ExceptionCode == kThreadNameException ? EXCEPTION_CONTINUE_EXECUTION
                                                                             : EXCEPTION_CONTINUE_SEARCH;
}

// Without a debugger nobody would handle the naming exception and the process would end; this
// handler, first in line after a debugger, lets the thread go on. (MinGW has no __try.)
class ThreadNameExceptionGuard {
public:
    ThreadNameExceptionGuard() : m_Handler(AddVectoredExceptionHandler(1, &ContinueAfterThreadName)) {}
    ~ThreadNameExceptionGuard()
    {
        if (m_Handler) RemoveVectoredExceptionHandler(m_Handler);
    }
    ThreadNameExceptionGuard(const ThreadNameExceptionGuard&) = delete;
    ThreadNameExceptionGuard& operator=(const ThreadNameExceptionGuard&) = delete;
    explicit operator bool() const { return m_Handler != nullptr; }

private:
    PVOID m_Handler;
};

void TellDebugger(const std::string& name)
{
    const ThreadNameExceptionGuard guard;
    if (!guard) return;
    ThreadNameInfo info;
    info.name = name.c_str();
    RaiseException(kThreadNameException, 0, sizeof(info) / sizeof(ULONG_PTR),
                   reinterpret_cast<const ULONG_PTR*>(&info));
}

void SetDescription(const std::string& name)
{
    // Windows 10 1607 and later; older systems and some Wine versions lack it.
    using SetThreadDescriptionFunction = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    const auto setDescription = reinterpret_cast<SetThreadDescriptionFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetThreadDescription")));
    if (!setDescription) return;
    const int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    if (length <= 0) return;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), length) <= 0) return;
    setDescription(GetCurrentThread(), wide.c_str());
}

} // namespace

void RaiseCurrentThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL); }

void NameCurrentThread(const std::string& name)
{
    SetDescription(name);
    // Debuggers that predate thread descriptions learn the name only this way.
    TellDebugger(name);
}
