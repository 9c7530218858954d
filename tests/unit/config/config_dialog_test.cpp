// The configuration dialog's logic, driven through a scripted view without a display.
#include <gtest/gtest.h>

#include "app/process_values.h"
#include "config/config_dialog.h"
#include "config/file_version_string.h"
#include "platform/program_file.h"
#include "settings/saver_settings.h"
#include "unit/test_support/isolated_settings.h"
#include "unit/test_support/scripted_config_views.h"
#include "unit/test_support/trace_capture.h"

namespace {

class ConfigDialogTest : public IsolatedSettings {
protected:
    // The store as the show would read it.
    static SaverSettings Stored()
    {
        RegistryObject registry;
        return ReadSaverSettings(registry);
    }
    static void Store(const SaverSettings& settings)
    {
        RegistryObject registry;
        WriteSaverSettings(registry, settings);
    }

    ScriptedConfigView view;
    RecordingShell shell;
    FakeInstallation installation;
    TfrmConfig dialog{view, shell, installation};
};

TEST_F(ConfigDialogTest, FirstRunShowsTheDefaultsAndStoresThem)
{
    dialog.FormCreate();

    EXPECT_TRUE(view.lines.empty());
    EXPECT_EQ(view.IntervalText(), "1");
    const std::map<ConfigCheckBox, bool> expected{
        {ConfigCheckBox::ShowTime, true},       {ConfigCheckBox::ShowCurrentFile, true},
        {ConfigCheckBox::ShowTotalCount, true}, {ConfigCheckBox::DisableRandom, false},
        {ConfigCheckBox::FadeOut, false},       {ConfigCheckBox::EnableMusic, true},
        {ConfigCheckBox::DisableMusicRandom, false}};
    EXPECT_EQ(view.checks, expected);
    EXPECT_EQ(Stored().ChangeInterval, 1500); // written by the defaults pass, not by the dialog
}

TEST_F(ConfigDialogTest, StoredIntervalShowsInWholeSecondsWithinTheSpinRange)
{
    const std::pair<std::int32_t, const char*> cases[] = {
        {1500, "1"}, {7000, "7"}, {100999, "100"}, {999, "1"}, {0, "1"}, {-7000, "1"}, {250000, "100"},
        {2147483647, "100"}};
    for (const auto& [stored, shown] : cases) {
        SaverSettings settings;
        settings.ChangeInterval = stored;
        Store(settings);
        dialog.FormCreate();
        EXPECT_EQ(view.IntervalText(), shown) << stored;
        EXPECT_EQ(view.IntervalPosition(), std::stoi(shown)) << stored;
    }
}

TEST_F(ConfigDialogTest, SpinChangeIsMirroredInTheEdit)
{
    dialog.upDownIntervalChangingEx(42);
    EXPECT_EQ(view.IntervalText(), "42");
}

TEST_F(ConfigDialogTest, DirectoriesAreListedInStoredOrderAndTraced)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"", {}},
        {"C:\\Photos|D:\\Z|C:\\Photos", {"C:\\Photos", "D:\\Z", "C:\\Photos"}},
        {"A|B|", {"A", "B", ""}},
    };
    for (const auto& [text, lines] : cases) {
        SaverSettings settings;
        settings.PhotoDirectorys = text;
        Store(settings);
        view.lines = {"left over"};
        TraceCapture trace;
        dialog.FormCreate();
        std::vector<std::string> traced;
        for (const std::string& line : trace.Stop()) traced.push_back(TraceMessage(line));

        EXPECT_EQ(view.lines, lines) << text;
        std::vector<std::string> expectedTrace;
        for (const std::string& line : lines) expectedTrace.push_back("pic dir=" + line);
        EXPECT_EQ(traced, expectedTrace) << text;
    }
}

TEST_F(ConfigDialogTest, WrongTypedValueIsReportedAndTheDialogStillOpens)
{
    {
        RegistryObject registry;
        OpenSettingsKey(registry);
        registry.WriteString("PhotoDirectorys", "P");
        registry.WriteString("ShowDateTime", "yes");
        registry.WriteInteger("ShowCurrentFileInfo", 0);
    }
    dialog.Open();

    EXPECT_EQ(view.errors, std::vector<std::string>{"Invalid data type for 'ShowDateTime'"});
    EXPECT_EQ(view.lines, std::vector<std::string>{"P"});
    EXPECT_FALSE(view.checks[ConfigCheckBox::ShowCurrentFile]); // read before the failure
    EXPECT_FALSE(view.checks[ConfigCheckBox::EnableMusic]);     // never reached: start state
    EXPECT_EQ(view.runs, 1);
}

TEST_F(ConfigDialogTest, AddingADirectory)
{
    const std::string duplicate = "The selected directory aleady in the list!";
    struct Case {
        const char* name;
        std::vector<std::string> listed;
        std::optional<std::string> chosen;
        std::vector<std::string> after;
        std::string warning; // empty: none
    };
    // Letter case is the OS's affair: see the tests of each OS's dialog.
    const Case cases[] = {
        {"appended last, unsorted", {"Z:\\b"}, "C:\\a", {"Z:\\b", "C:\\a"}, ""},
        {"same path refused", {"C:\\x", "C:\\Photos"}, "C:\\Photos", {"C:\\x", "C:\\Photos"}, duplicate},
        {"trailing separator differs", {"C:\\Photos"}, "C:\\Photos\\", {"C:\\Photos", "C:\\Photos\\"}, ""},
        {"cancelled", {"C:\\a"}, std::nullopt, {"C:\\a"}, ""},
        {"list separator in the name refused", {"/a"}, "/data/x|y", {"/a"}, kSeparatorInDirectoryMessage},
        {"list separator alone refused", {}, "|", {}, kSeparatorInDirectoryMessage},
    };
    for (const Case& c : cases) {
        view.lines = c.listed;
        view.messages.clear();
        view.browseResults = {c.chosen};
        dialog.btnAddDirClick();

        EXPECT_EQ(view.lines, c.after) << c.name;
        ASSERT_EQ(view.messages.size(), c.warning.empty() ? 0u : 1u) << c.name;
        if (!c.warning.empty()) {
            EXPECT_EQ(view.messages[0].text, c.warning) << c.name;
            EXPECT_EQ(view.messages[0].caption, "Remainder") << c.name;
            EXPECT_EQ(view.messages[0].style, mb::IconWarning) << c.name;
        }
    }
    EXPECT_EQ(view.prompts.back(), "Please select the directory containing photoes:\n");
    // The warning says why.
    EXPECT_NE(std::string(kSeparatorInDirectoryMessage).find("\"|\""), std::string::npos);
}

TEST_F(ConfigDialogTest, RemovingADirectoryAsksFirst)
{
    struct Case {
        const char* name;
        int selected;
        int answer;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"confirmed", 1, mb::IdOk, {"A", "C"}},
        {"cancelled", 1, mb::IdCancel, {"A", "B", "C"}},
        {"nothing selected", -1, mb::IdOk, {"A", "B", "C"}},
    };
    for (const Case& c : cases) {
        view.lines = {"A", "B", "C"};
        view.selected = c.selected;
        view.messages.clear();
        view.answers = {c.answer};
        dialog.btnDelDirClick();

        EXPECT_EQ(view.lines, c.after) << c.name;
        ASSERT_EQ(view.messages.size(), 1u) << c.name;
        EXPECT_EQ(view.messages[0].text, "Are you sure you want to remove selected photo directory from the list?");
        EXPECT_EQ(view.messages[0].caption, "Are you sure?");
        EXPECT_EQ(view.messages[0].style, mb::OkCancel | mb::IconQuestion | mb::DefButton2);
    }
}

TEST_F(ConfigDialogTest, DirectoryDetailOpensTheSelectedLineOrAsksForOne)
{
    view.lines = {"A", "B"};
    dialog.btnViewDirClick();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "Please select one item in the list first!");
    EXPECT_EQ(view.messages[0].caption, "info");
    EXPECT_EQ(view.messages[0].style, mb::IconInformation);
    EXPECT_TRUE(shell.opened.empty());

    view.selected = 1;
    dialog.btnViewDirClick();
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].owner, view.Window());
    EXPECT_EQ(shell.opened[0].target, "B");
    EXPECT_EQ(shell.opened[0].showCommand, showcmd::Normal);
}

TEST_F(ConfigDialogTest, ClosingAfterEditsLeavesTheStoreUnchanged)
{
    SaverSettings before;
    before.PhotoDirectorys = "A";
    before.ChangeInterval = 4000;
    Store(before);
    dialog.FormCreate();
    view.browseResults = {"B"};
    dialog.btnAddDirClick();
    view.SetIntervalPosition(9);
    view.SetChecked(ConfigCheckBox::FadeOut, true);

    dialog.btnCloseClick();
    dialog.menuExitClick();

    EXPECT_EQ(view.closes, 2);
    EXPECT_EQ(Stored(), before);
}

TEST_F(ConfigDialogTest, HomePageHelpAndTheAboutBox)
{
    dialog.menuVisitHomePageClick();
    dialog.imgLogoClick();
    dialog.menuHelpContentClick();
    ASSERT_EQ(shell.opened.size(), 2u);
    for (const auto& opened : shell.opened) {
        EXPECT_EQ(opened.owner, nullptr);
        EXPECT_EQ(opened.target, HomePageAddress);
        EXPECT_EQ(opened.showCommand, showcmd::Maximized);
    }
    EXPECT_EQ(shell.helpTopics, std::vector<std::string>{HelpFilePath + "::/Overview.htm"});

    std::string versionShown;
    view.aboutActions = {
        [&](AboutBoxEvents& box) { box.labelWebMouseEnter(AboutLink::Mail); },
        [&](AboutBoxEvents& box) { box.labelMailClick(); },
        [&](AboutBoxEvents& box) { box.labelWebClick(); },
        [&](AboutBoxEvents&) {
            versionShown = view.lastAbout->VersionText();
            EXPECT_EQ(view.lastAbout->looks[AboutLink::Mail], std::make_pair(Rgb{0, 0, 255}, PointerShape::Hand));
            EXPECT_EQ(view.lastAbout->looks.count(AboutLink::Web), 0u);
        },
        [&](AboutBoxEvents& box) { box.labelWebMouseLeave(AboutLink::Mail); },
        [&](AboutBoxEvents&) {
            EXPECT_EQ(view.lastAbout->looks[AboutLink::Mail], std::make_pair(Rgb{0, 0, 0}, PointerShape::Default));
        },
    };
    shell.opened.clear();
    dialog.menuAboutClick();

    EXPECT_EQ(versionShown, "Version:" + FileVersionString(ProgramFilePath()));
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened[0].target, "mailto:" + SupportAddress);
    EXPECT_EQ(shell.opened[0].showCommand, showcmd::Normal);
    EXPECT_EQ(shell.opened[1].target, HomePageAddress);
}

} // namespace
