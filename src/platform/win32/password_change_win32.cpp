#include "platform/password_change.h"
#include "platform/win32/loaded_library.h"

void ChangeScreenSaverPassword(std::int32_t parentWindow)
{
    using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    const LoadedLibrary library("mpr.DLL");
    const auto change = library.Find<PwdChangePasswordFn>("PwdChangePasswordA");
    if (!change) return;
    // The handle comes from the command line as a plain number.
    change("SCRSAVE", reinterpret_cast<HWND>(static_cast<INT_PTR>(parentWindow)), 0, nullptr);
}
