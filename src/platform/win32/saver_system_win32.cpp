#include "platform/saver_system.h"

#include "platform/win32/loaded_library.h"

PlatformVersion GetPlatformVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info); // 148
    // Deprecated for version numbers, but the platform identifier is all that is read.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&info);
#pragma GCC diagnostic pop
    return PlatformVersion{info.dwPlatformId};
}

void SetScreenSaverRunning(bool running)
{
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, running ? 1 : 0, nullptr, 0);
}

bool VerifyScreenSaverPassword(NativeWindow owner)
{
    using VerifyScreenSavePwdFn = BOOL(WINAPI*)(HWND);
    const LoadedLibrary library("password.cpl");
    const auto verify = library.Find<VerifyScreenSavePwdFn>("VerifyScreenSavePwd");
    return verify && verify(static_cast<HWND>(owner)) != FALSE;
}
