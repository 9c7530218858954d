#include "config/save_configuration.h"

#include "config/config_dialog.h"
#include "platform/program_file.h"
#include "platform/text.h"
#include "settings/directory_list.h"
#include "settings/saver_settings.h"

namespace {

std::string WithExtension(const std::string& name, const std::string& extension)
{
    const auto dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + extension;
}

// The short form of the program's bare file name. The bare name resolves against the current
// directory, which is often not the program's own: then the full path's short form, and failing
// that the long name, so that the system is never pointed at a file named only ".scr".
std::string ShortProgramFileName(const SaverInstallation& installation)
{
    const std::string programFile = installation.ProgramFilePath();
    const std::string bareName = ExtractFileName(programFile);
    std::string shortName = installation.ShortPathName(bareName);
    if (shortName.empty()) shortName = ExtractFileName(installation.ShortPathName(programFile));
    return shortName.empty() ? bareName : shortName;
}

SaverSettings SettingsShown(ConfigDialogView& view)
{
    SaverSettings settings;
    settings.PhotoDirectorys = JoinDirectoryList(view.Directories());
    settings.ShowDateTime = view.Checked(ConfigCheckBox::ShowTime);
    settings.ShowCurrentFileInfo = view.Checked(ConfigCheckBox::ShowCurrentFile);
    settings.ShowAllPhotoCount = view.Checked(ConfigCheckBox::ShowTotalCount);
    settings.DisableRandom = view.Checked(ConfigCheckBox::DisableRandom);
    settings.FadeOutLastPhoto = view.Checked(ConfigCheckBox::FadeOut);
    settings.EnableMusic = view.Checked(ConfigCheckBox::EnableMusic);
    settings.DisableMusicRandom = view.Checked(ConfigCheckBox::DisableMusicRandom);
    settings.ChangeInterval = StrToInt(view.IntervalText()) * 1000;
    return settings;
}

} // namespace

bool RunningFromExe(const std::string& programFilePath)
{
    return AnsiUpperCase(ExtractFileExt(ExtractFileName(programFilePath))) == ".EXE";
}

std::string SaverFilePath(const SaverInstallation& installation)
{
    return installation.SystemDirectory() + PathDelimiter() + WithExtension(ShortProgramFileName(installation), ".scr");
}

void SaveConfiguration(TfrmConfig& dialog)
{
    ConfigDialogView& view = dialog.View();
    SaverInstallation& installation = dialog.Installation();
    if (view.Directories().empty()) {
        view.ShowMessage("Please add at least one directory to the list first.", "info", mb::Ok);
        return;
    }
    const bool fromExe = RunningFromExe(installation.ProgramFilePath());
    if (fromExe) installation.SwitchScreenSaverOn();
    const std::string saverFile = SaverFilePath(installation);
    const std::string profileFile = installation.WindowsDirectory() + PathDelimiter() + "system.ini";
    if (fromExe) installation.WriteProfileString("boot", "SCRNSAVE.EXE", saverFile, profileFile);

    const SaverSettings settings = SettingsShown(view);
    RegistryObject registry;
    WriteSaverSettings(registry, settings);
    if (fromExe) {
        registry.SetRootKey(RegistryRoot::CurrentUser);
        registry.OpenKey(kDesktopKeyPath, false);
        registry.WriteString("SCRNSAVE.EXE", saverFile);
        registry.CloseKey();
    }
    view.ShowMessage("All infomation  Save OK.", "Prompt", mb::IconInformation);
}
