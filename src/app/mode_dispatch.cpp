#include "app/mode_dispatch.h"

#include <exception>
#include <functional>
#include <memory>

#include "app/process_values.h"
#include "config/config_dialog.h"
#include "platform/message_box.h"
#include "platform/password_change.h"
#include "platform/show_environment.h"
#include "platform/text.h"
#include "platform/ui_host.h"
#include "slideshow/slideshow_window.h"

std::string NormalizeCommandLine(std::string_view commandLine)
{
    return AnsiLowerCase(TrimControlChars(commandLine));
}

std::string ChooseMode(std::string_view normalizedCommandLine)
{
    if (normalizedCommandLine.empty()) return "/c";
    return std::string(normalizedCommandLine.substr(0, 2));
}

int ParsePasswordParent(std::string_view normalizedCommandLine)
{
    const std::string_view handleText =
        normalizedCommandLine.size() > 2 ? normalizedCommandLine.substr(2) : std::string_view();
    return StrToInt(handleText);
}

void RunSlideShow(ShowEnvironment& environment, const std::function<void()>& show)
{
    environment.UseScreenPixels();
    const FineTimerResolution fineTimer(environment);
    show();
}

namespace {

// The saver: the slide-show window is the main window until it closes.
void RunSlideShowWindow()
{
    const std::unique_ptr<UiHost> host = CreateUiHost();
    TfrmMain window(*host);
    window.Open();
    host->Run();
}

// The configuration dialog is the main window until it closes.
void RunConfigDialog()
{
    const std::unique_ptr<ConfigDialogView> view = CreateConfigDialogView();
    const std::unique_ptr<Shell> shell = CreateSystemShell();
    const std::unique_ptr<SaverInstallation> installation = CreateSystemSaverInstallation();
    TfrmConfig dialog(*view, *shell, *installation);
    dialog.Open();
}

void ActOnMode(const std::string& mode, const std::string& commandLine)
{
    if (mode == "/c") {
        RunConfigDialog();
    } else if (mode == "/s") {
        RunSlideShow(*CreateSystemShowEnvironment(), RunSlideShowWindow);
    } else if (mode == "/a") {
        ChangeScreenSaverPassword(ParsePasswordParent(commandLine));
    }
    // "/p" and every other switch: nothing.
}

} // namespace

int RunProgram(std::string_view rawCommandLine)
{
    CompleteHomePageAddress();
    const std::string commandLine = NormalizeCommandLine(rawCommandLine);
    const std::string mode = ChooseMode(commandLine);
    try {
        ActOnMode(mode, commandLine);
    } catch (const std::exception& error) {
        ShowErrorBox(error.what());
    } catch (...) {
        ShowErrorBox("");
    }
    return 0;
}
