#pragma once
// What the dialogs ask of the desktop shell: opening a directory, a web address or a mail link
// with the user's own programs, and showing a help topic. Failures are not reported.
#include <memory>
#include <string>

#include "platform/message_box.h"

// Show commands, with the Win32 numbers.
namespace showcmd {
constexpr int Normal = 1;    // SW_SHOWNORMAL
constexpr int Maximized = 3; // SW_SHOWMAXIMIZED
} // namespace showcmd

class Shell {
public:
    virtual ~Shell() = default;
    // Opens target ("open"): a directory in the file browser, a web address in the browser, a
    // "mailto:" link in the mail program. The result is ignored.
    virtual void Open(NativeWindow owner, const std::string& target, int showCommand) = 0;
    // Shows a help topic named "<help file>::/<page>" in a help window of its own, brought to
    // the front. A missing help file passes silently.
    virtual void ShowHelp(const std::string& helpTopic) = 0;

protected:
    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
};

// Windows: ShellExecuteA and HtmlHelpA (hhctrl.ocx, loaded when first needed). Linux: the
// desktop's default handlers; the help pages sit as HTML files in a folder "help" beside the
// program (or, installed, in <prefix>/share/tovelin/help), "<dir>/help.chm::/<page>" showing
// "<dir>/help/<page>" in the browser.
std::unique_ptr<Shell> CreateSystemShell();
