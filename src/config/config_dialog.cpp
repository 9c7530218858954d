#include "config/config_dialog.h"

#include <algorithm>
#include <exception>

#include "app/log_trace.h"
#include "app/process_values.h"
#include "config/about_box.h"
#include "config/dialog_artwork.h"
#include "config/dialog_layout.h"
#include "config/help_topic.h"
#include "config/save_configuration.h"
#include "platform/path_compare.h"
#include "settings/directory_list.h"
#include "settings/saver_settings.h"

namespace {

constexpr const char* kBrowsePrompt = "Please select the directory containing photoes:\n";

constexpr const char* kWarningCaption = "Remainder";

bool FlagSet(RegistryObject& registry, const char* name) { return registry.ReadInteger(name) != 0; }

const ConfigControl& IntervalControl() { return ControlOfKind(ConfigControls(), ControlKind::UpDown); }

} // namespace

const char* const kSeparatorInDirectoryMessage =
    "The selected directory cannot be added: its name contains \"|\", which separates the directories "
    "in the saved list.";

int IntervalPositionFor(std::int32_t changeIntervalMs)
{
    // Out-of-range values would otherwise put a number in the edit that the control cannot
    // hold, and Save would store it.
    return std::clamp(changeIntervalMs / 1000, IntervalControl().minimum, IntervalControl().maximum);
}

TfrmConfig::TfrmConfig(ConfigDialogView& view, Shell& shell, SaverInstallation& installation)
    : m_View(view), m_Shell(shell), m_Installation(installation)
{
    m_View.SetEvents(*this);
    m_View.SetPictures(PreparedPicture(DialogPicture::Banner), PreparedPicture(DialogPicture::SaveButton),
                       PreparedPicture(DialogPicture::CloseButton));
}

void TfrmConfig::Open()
{
    try {
        FormCreate();
    } catch (const std::exception& error) {
        m_View.ShowError(error.what());
    }
    m_View.ShowAndRun();
}

void TfrmConfig::FormCreate()
{
    RegistryObject registry;
    OpenSettingsKey(registry);
    m_View.ClearDirectories();
    const std::string directories = registry.ReadString("PhotoDirectorys");
    if (!directories.empty()) {
        for (const std::string& directory : SplitDirectoryList(directories)) {
            m_View.AppendDirectory(directory);
            LogTrace("pic dir=" + directory);
        }
    }
    MoveInterval(IntervalPositionFor(registry.ReadInteger("ChangeInterval")));
    m_View.SetIntervalText(std::to_string(m_View.IntervalPosition()));
    m_View.SetChecked(ConfigCheckBox::ShowCurrentFile, FlagSet(registry, "ShowCurrentFileInfo"));
    m_View.SetChecked(ConfigCheckBox::ShowTime, FlagSet(registry, "ShowDateTime"));
    m_View.SetChecked(ConfigCheckBox::DisableRandom, FlagSet(registry, "DisableRandom"));
    m_View.SetChecked(ConfigCheckBox::ShowTotalCount, FlagSet(registry, "ShowAllPhotoCount"));
    m_View.SetChecked(ConfigCheckBox::FadeOut, FlagSet(registry, "FadeOutLastPhoto"));
    m_View.SetChecked(ConfigCheckBox::EnableMusic, FlagSet(registry, "EnableMusic"));
    m_View.SetChecked(ConfigCheckBox::DisableMusicRandom, FlagSet(registry, "DisableMusicRandom"));
}

void TfrmConfig::upDownIntervalChangingEx(int newValue)
{
    m_View.SetIntervalText(std::to_string(newValue));
}

void TfrmConfig::IntervalStepRequested(int position)
{
    // The control stops at its ends without an event.
    const int next = std::clamp(position, IntervalControl().minimum, IntervalControl().maximum);
    if (next != m_View.IntervalPosition()) MoveInterval(next);
}

void TfrmConfig::MoveInterval(int position)
{
    position = std::clamp(position, IntervalControl().minimum, IntervalControl().maximum);
    upDownIntervalChangingEx(position);
    m_View.SetIntervalPosition(position);
}

void TfrmConfig::btnAddDirClick()
{
    const auto chosen = m_View.BrowseForFolder(kBrowsePrompt);
    if (!chosen) return;
    // Stored, such a name would come back as two directories that do not exist.
    if (chosen->find(kDirectoryListSeparator) != std::string::npos) {
        m_View.ShowMessage(kSeparatorInDirectoryMessage, kWarningCaption, mb::IconWarning);
        return;
    }
    const std::vector<std::string> lines = m_View.Directories();
    const bool listed = std::any_of(lines.begin(), lines.end(),
                                    [&](const std::string& line) { return SamePathName(line, *chosen); });
    if (listed) {
        m_View.ShowMessage("The selected directory aleady in the list!", kWarningCaption, mb::IconWarning);
        return;
    }
    m_View.AppendDirectory(*chosen);
}

void TfrmConfig::btnDelDirClick()
{
    const int answer = m_View.ShowMessage("Are you sure you want to remove selected photo directory from the list?",
                                          "Are you sure?", mb::OkCancel | mb::IconQuestion | mb::DefButton2);
    if (answer != mb::IdOk) return;
    const int selected = m_View.SelectedDirectory();
    if (selected >= 0) m_View.DeleteDirectory(selected);
}

void TfrmConfig::btnViewDirClick()
{
    const int selected = m_View.SelectedDirectory();
    if (selected < 0) {
        m_View.ShowMessage("Please select one item in the list first!", "info", mb::IconInformation);
        return;
    }
    const std::vector<std::string> lines = m_View.Directories();
    if (selected < static_cast<int>(lines.size())) m_Shell.Open(m_View.Window(), lines[selected], showcmd::Normal);
}

void TfrmConfig::btnSaveClick()
{
    try {
        SaveConfiguration(*this);
    } catch (const std::exception& error) {
        m_View.ShowError(error.what());
    }
}

void TfrmConfig::btnCloseClick() { m_View.Close(); }

void TfrmConfig::menuExitClick() { m_View.Close(); }

void TfrmConfig::menuHelpContentClick() { ShowHelpTopic(m_Shell, "Overview.htm"); }

void TfrmConfig::menuVisitHomePageClick() { m_Shell.Open(nullptr, HomePageAddress, showcmd::Maximized); }

void TfrmConfig::imgLogoClick() { menuVisitHomePageClick(); }

void TfrmConfig::menuAboutClick()
{
    const std::unique_ptr<AboutBoxView> box = m_View.CreateAboutBox();
    TfrmAbout about(*box, m_Shell);
    about.ShowModal();
}
