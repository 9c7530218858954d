// The configuration dialog's duplicate test on Linux, where letter case tells folders apart.
#include <gtest/gtest.h>

#include "config/config_dialog.h"
#include "unit/test_support/scripted_config_views.h"

namespace {

TEST(ConfigDialogLinux, FoldersThatDifferOnlyInLetterCaseAreBothListed)
{
    struct Case {
        const char* chosen;
        bool refused;
    };
    const Case cases[] = {
        {"/data/photos", false}, {"/DATA/Photos", false}, {"/data/Été", false}, {"/data/Photos", true},
    };
    for (const Case& c : cases) {
        ScriptedConfigView view;
        RecordingShell shell;
        FakeInstallation installation;
        TfrmConfig dialog(view, shell, installation);
        view.lines = {"/data/Photos", "/data/été"};
        view.browseResults = {c.chosen};
        dialog.btnAddDirClick();

        EXPECT_EQ(view.lines.size(), c.refused ? 2u : 3u) << c.chosen;
        ASSERT_EQ(view.messages.size(), c.refused ? 1u : 0u) << c.chosen;
        if (c.refused) {
            EXPECT_EQ(view.messages[0].text, "The selected directory aleady in the list!");
        }
    }
}

} // namespace
