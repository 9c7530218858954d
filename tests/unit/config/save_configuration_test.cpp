// Save: what reaches the store and the system, driven through a scripted view.
#include <gtest/gtest.h>

#include "config/config_dialog.h"
#include "config/save_configuration.h"
#include "platform/program_file.h"
#include "settings/saver_settings.h"
#include "unit/test_support/isolated_settings.h"
#include "unit/test_support/registry_removal.h"
#include "unit/test_support/scripted_config_views.h"

namespace {

const std::string kDesktop = "Control Panel\\Desktop";

std::string Joined(std::initializer_list<std::string> parts)
{
    std::string path;
    for (const std::string& part : parts) path += (path.empty() ? "" : std::string(1, PathDelimiter())) + part;
    return path;
}

std::optional<std::string> DesktopSaver()
{
    const auto key = RegistryKey::Open(RegistryRoot::CurrentUser, kDesktop, false);
    if (!key) return std::nullopt;
    const auto value = key->QueryValue("SCRNSAVE.EXE");
    if (!value) return std::nullopt;
    return std::string(value->data.begin(), std::find(value->data.begin(), value->data.end(), 0));
}

class SaveConfigurationTest : public IsolatedSettings {
protected:
    void SetUp() override
    {
        IsolatedSettings::SetUp();
        m_DesktopBefore = DesktopSaver();
        installation.programFile = Joined({"C:", "Saver", "Tovelin Saver.exe"});
        installation.shortNames["Tovelin Saver.exe"] = "TOVELI~1.EXE";
    }
    void TearDown() override
    {
        // The Desktop key is the system's own: leave it as it was.
        if (m_DesktopBefore) {
            RegistryKey::Open(RegistryRoot::CurrentUser, kDesktop, false)
                ->SetValue("SCRNSAVE.EXE", {regtype::Sz, {m_DesktopBefore->begin(), m_DesktopBefore->end()}});
        } else {
            DeleteRegistryValue(kDesktop, "SCRNSAVE.EXE");
        }
        IsolatedSettings::TearDown();
    }
    static void EnsureDesktopKey() { RegistryKey::Open(RegistryRoot::CurrentUser, kDesktop, true); }
    static SaverSettings Stored()
    {
        RegistryObject registry;
        return ReadSaverSettings(registry);
    }
    static bool SettingsKeyExists()
    {
        return RegistryKey::Open(RegistryRoot::CurrentUser, "Control Panel\\Screen Saver.Tovelin", false).has_value();
    }

    ScriptedConfigView view;
    RecordingShell shell;
    FakeInstallation installation;
    TfrmConfig dialog{view, shell, installation};

private:
    std::optional<std::string> m_DesktopBefore;
};

TEST_F(SaveConfigurationTest, EmptyListIsRefusedAndNothingIsWritten)
{
    EnsureDesktopKey();
    DeleteRegistryValue(kDesktop, "SCRNSAVE.EXE");
    dialog.btnSaveClick();

    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "Please add at least one directory to the list first.");
    EXPECT_EQ(view.messages[0].caption, "info");
    EXPECT_EQ(view.messages[0].style, mb::Ok);
    EXPECT_FALSE(SettingsKeyExists());
    EXPECT_TRUE(installation.writes.empty());
    EXPECT_EQ(DesktopSaver(), std::nullopt);
}

TEST_F(SaveConfigurationTest, ControlsAreStoredAsTheShowReadsThem)
{
    installation.programFile = "tovelin.scr";
    view.lines = {"A", "B", "C"};
    view.SetEvents(dialog);
    view.SetIntervalPosition(3);
    view.checks = {{ConfigCheckBox::ShowTime, false},     {ConfigCheckBox::ShowCurrentFile, true},
                   {ConfigCheckBox::ShowTotalCount, false}, {ConfigCheckBox::DisableRandom, true},
                   {ConfigCheckBox::FadeOut, true},       {ConfigCheckBox::EnableMusic, false},
                   {ConfigCheckBox::DisableMusicRandom, true}};
    dialog.btnSaveClick();

    SaverSettings expected;
    expected.PhotoDirectorys = "A|B|C";
    expected.ChangeInterval = 3000;
    expected.ShowDateTime = false;
    expected.ShowCurrentFileInfo = true;
    expected.ShowAllPhotoCount = false;
    expected.DisableRandom = true;
    expected.FadeOutLastPhoto = true;
    expected.EnableMusic = false;
    expected.DisableMusicRandom = true;
    EXPECT_EQ(Stored(), expected);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "All infomation  Save OK.");
    EXPECT_EQ(view.messages[0].caption, "Prompt");
    EXPECT_EQ(view.messages[0].style, mb::IconInformation);

    view.lines = {"Only"};
    dialog.btnSaveClick();
    EXPECT_EQ(Stored().PhotoDirectorys, "Only");
}

TEST_F(SaveConfigurationTest, UnchangedDialogAfterAFreshStartStoresWholeSeconds)
{
    installation.programFile = "tovelin.scr";
    dialog.FormCreate();
    view.lines = {"P"};
    dialog.btnSaveClick();

    SaverSettings expected;
    expected.PhotoDirectorys = "P";
    expected.ChangeInterval = 1000;
    EXPECT_EQ(Stored(), expected);
}

TEST_F(SaveConfigurationTest, ExeTestFoldsCaseOfTheProgramFileExtension)
{
    const std::pair<std::string, bool> cases[] = {
        {Joined({"C:", "X", "SAVER.EXE"}), true}, {"saver.Exe", true},     {"tovelin.scr", false},
        {"tovelin", false},                        {"a.exe.scr", false},   {Joined({"d.exe", "saver"}), false},
    };
    for (const auto& [file, fromExe] : cases) EXPECT_EQ(RunningFromExe(file), fromExe) << file;
}

TEST_F(SaveConfigurationTest, FromTheExeTheSystemIsPointedAtTheScrFile)
{
    EnsureDesktopKey();
    view.lines = {"A"};
    dialog.btnSaveClick();

    const std::string saverFile = Joined({"SYS", "TOVELI~1.scr"});
    EXPECT_EQ(installation.writes, (std::vector<std::string>{
                                       "screen saver on",
                                       Joined({"WIN", "system.ini"}) + " [boot] SCRNSAVE.EXE=" + saverFile}));
    EXPECT_EQ(DesktopSaver(), saverFile);
    EXPECT_EQ(Stored().PhotoDirectorys, "A");
    EXPECT_EQ(view.messages.back().text, "All infomation  Save OK.");
}

TEST_F(SaveConfigurationTest, FromTheScrOnlyTheSettingsChange)
{
    EnsureDesktopKey();
    DeleteRegistryValue(kDesktop, "SCRNSAVE.EXE");
    installation.programFile = Joined({"C:", "Saver", "Tovelin Saver.SCR"});
    view.lines = {"A"};
    dialog.btnSaveClick();

    EXPECT_TRUE(installation.writes.empty());
    EXPECT_EQ(DesktopSaver(), std::nullopt);
    EXPECT_EQ(Stored().PhotoDirectorys, "A");
}

TEST_F(SaveConfigurationTest, SaverFileNameFallsBackWhenTheShortFormCannotBeFound)
{
    struct Case {
        const char* name;
        std::map<std::string, std::string> shortNames;
        std::string program;
        std::string expected;
    };
    const std::string program = Joined({"C:", "Saver", "Tovelin Saver.exe"});
    const Case cases[] = {
        {"bare name resolves", {{"Tovelin Saver.exe", "TOVELI~1.EXE"}}, program, "TOVELI~1.scr"},
        {"only the full path resolves", {{program, Joined({"C:", "SAVER", "TOVELI~2.EXE"})}}, program, "TOVELI~2.scr"},
        {"nothing resolves", {}, program, "Tovelin Saver.scr"},
        {"no extension", {}, Joined({"C:", "x.d", "saver"}), "saver.scr"},
    };
    for (const Case& c : cases) {
        installation.shortNames = c.shortNames;
        installation.programFile = c.program;
        EXPECT_EQ(SaverFilePath(installation), Joined({"SYS", c.expected})) << c.name;
    }
}

TEST_F(SaveConfigurationTest, MissingDesktopKeyEndsSaveWithTheErrorAndKeepsTheSettings)
{
    if (RegistryKey::Open(RegistryRoot::CurrentUser, kDesktop, false)) GTEST_SKIP() << "the system keeps the key";
    view.lines = {"A"};
    dialog.btnSaveClick();

    EXPECT_EQ(view.errors, std::vector<std::string>{"Failed to set data for 'SCRNSAVE.EXE'"});
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(Stored().PhotoDirectorys, "A");
}

} // namespace
