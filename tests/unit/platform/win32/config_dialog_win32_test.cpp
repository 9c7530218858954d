// The configuration dialog's duplicate test on Windows, where letter case does not tell folders
// apart.
#include <gtest/gtest.h>

#include "config/config_dialog.h"
#include "unit/test_support/scripted_config_views.h"

namespace {

TEST(ConfigDialogWin32, AFolderInOtherLetterCaseIsRefused)
{
    for (const char* chosen : {"c:\\PHOTOS", "C:\\photos", "C:\\Photos"}) {
        ScriptedConfigView view;
        RecordingShell shell;
        FakeInstallation installation;
        TfrmConfig dialog(view, shell, installation);
        view.lines = {"C:\\x", "C:\\Photos"};
        view.browseResults = {chosen};
        dialog.btnAddDirClick();

        EXPECT_EQ(view.lines, (std::vector<std::string>{"C:\\x", "C:\\Photos"})) << chosen;
        ASSERT_EQ(view.messages.size(), 1u) << chosen;
        EXPECT_EQ(view.messages[0].text, "The selected directory aleady in the list!");
        EXPECT_EQ(view.messages[0].caption, "Remainder");
        EXPECT_EQ(view.messages[0].style, mb::IconWarning);
    }
}

} // namespace
