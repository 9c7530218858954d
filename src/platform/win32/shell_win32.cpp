#include "platform/shell.h"

#include <optional>

#include "platform/win32/loaded_library.h"
#include "platform/win32/windows_header.h"
#include <shellapi.h>

namespace {

constexpr UINT kHhDisplayTopic = 0; // HH_DISPLAY_TOPIC; htmlhelp.h is not part of the toolchain
using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

class SystemShell final : public Shell {
public:
    void Open(NativeWindow owner, const std::string& target, int showCommand) override
    {
        ShellExecuteA(static_cast<HWND>(owner), "open", target.c_str(), nullptr, nullptr, showCommand);
    }

    void ShowHelp(const std::string& helpTopic) override
    {
        // The library stays loaded while the shell lives: its help window runs on our thread.
        if (!m_HtmlHelpLibrary) m_HtmlHelpLibrary.emplace("hhctrl.ocx");
        const auto htmlHelp = m_HtmlHelpLibrary->Find<HtmlHelpFn>("HtmlHelpA");
        if (!htmlHelp) return;
        const HWND helpWindow = htmlHelp(nullptr, helpTopic.c_str(), kHhDisplayTopic, 0);
        if (helpWindow) SetActiveWindow(helpWindow);
    }

private:
    std::optional<LoadedLibrary> m_HtmlHelpLibrary;
};

} // namespace

std::unique_ptr<Shell> CreateSystemShell() { return std::make_unique<SystemShell>(); }
