#include "platform/show_environment.h"

#include <cstdint>

#include "platform/win32/windows_header.h"

#include <mmsystem.h>

namespace {

using SetProcessDpiAwarenessContextFunction = BOOL(WINAPI*)(HANDLE);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; older MinGW headers lack the name.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-4));

class SystemShowEnvironment final : public ShowEnvironment {
public:
    void UseScreenPixels() override
    {
        // Windows 10 1703 and later; looked up at run time, as older systems lack it.
        const HMODULE user32 = GetModuleHandleA("user32.dll");
        const auto setContext = reinterpret_cast<SetProcessDpiAwarenessContextFunction>(
            reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "SetProcessDpiAwarenessContext") : nullptr));
        if (setContext && setContext(kPerMonitorAwareV2)) return;
        SetProcessDPIAware();
    }

    void BeginFineTimerResolution() override { m_Held = timeBeginPeriod(1) == TIMERR_NOERROR; }

    void EndFineTimerResolution() override
    {
        if (m_Held) timeEndPeriod(1);
        m_Held = false;
    }

private:
    bool m_Held = false;
};

} // namespace

std::unique_ptr<ShowEnvironment> CreateSystemShowEnvironment()
{
    return std::make_unique<SystemShowEnvironment>();
}
