#pragma once
// The configuration dialog: it reads the store once when it is created, keeps every change in
// its controls alone and writes the store only when Save is pressed. Closing it ends the
// program; the OS's view forwards the user's actions to the handlers below.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/config_dialog_view.h"
#include "platform/saver_installation.h"
#include "platform/shell.h"

class TfrmConfig final : public ConfigDialogEvents {
public:
    TfrmConfig(ConfigDialogView& view, Shell& shell, SaverInstallation& installation);
    TfrmConfig(const TfrmConfig&) = delete;
    TfrmConfig& operator=(const TfrmConfig&) = delete;

    // FormCreate (an error in it is shown in the standard error box, and the dialog opens all
    // the same), then the dialog until it closes.
    void Open();

    void FormCreate();
    // Mirrors the spin control's new value in editInterval.
    void upDownIntervalChangingEx(int newValue);
    void IntervalStepRequested(int position) override;
    void btnAddDirClick() override;
    void btnDelDirClick() override;
    void btnViewDirClick() override;
    void btnSaveClick() override;
    void btnCloseClick() override;
    void menuExitClick() override;
    void menuHelpContentClick() override;
    void menuVisitHomePageClick() override;
    void imgLogoClick() override;
    void menuAboutClick() override;

    // The controls, for Save and the tests.
    ConfigDialogView& View() { return m_View; }
    SaverInstallation& Installation() { return m_Installation; }

private:
    // The spin control moved to position brought into its range, upDownIntervalChangingEx first.
    void MoveInterval(int position);

    ConfigDialogView& m_View;
    Shell& m_Shell;
    SaverInstallation& m_Installation;
};

// The warning shown when a chosen directory's name holds the stored list's separator.
extern const char* const kSeparatorInDirectoryMessage;

// The spin control's position for a stored interval in milliseconds: whole seconds, truncated,
// brought into the control's range.
int IntervalPositionFor(std::int32_t changeIntervalMs);
