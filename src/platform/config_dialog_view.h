#pragma once
// The configuration dialog as each OS builds it: the window with its menu bar and controls at
// their places, sizes, texts, hints and start states. The view keeps the controls' state and
// turns the user's actions into the form's handlers, on the UI thread; it decides nothing.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/bitmap.h"
#include "platform/about_box_view.h"
#include "platform/message_box.h"

enum class ConfigCheckBox {
    ShowTime,            // checkShowTime
    ShowCurrentFile,     // checkShowCurrentFile
    ShowTotalCount,      // checkShowTotalCount
    DisableRandom,       // checkDisableRandom
    FadeOut,             // checkFadeOut
    EnableMusic,         // checkEnableMusic
    DisableMusicRandom,  // checkDisableMusicRandom
};

class ConfigDialogEvents {
public:
    // The user stepped the spin control toward position (an arrow clicked, Up or Down pressed):
    // one step from where it is, maybe past its ends. The control stays where it is until the
    // dialog sets its position.
    virtual void IntervalStepRequested(int position) = 0;
    virtual void btnAddDirClick() = 0;
    virtual void btnDelDirClick() = 0;
    virtual void btnViewDirClick() = 0;
    virtual void btnSaveClick() = 0;
    virtual void btnCloseClick() = 0;
    virtual void menuExitClick() = 0;
    virtual void menuHelpContentClick() = 0;
    virtual void menuVisitHomePageClick() = 0;
    virtual void imgLogoClick() = 0;
    virtual void menuAboutClick() = 0;

protected:
    ConfigDialogEvents() = default;
    ConfigDialogEvents(const ConfigDialogEvents&) = default;
    ConfigDialogEvents& operator=(const ConfigDialogEvents&) = default;
    ~ConfigDialogEvents() = default;
};

class ConfigDialogView {
public:
    virtual ~ConfigDialogView() = default;

    // Events go to events from now on; it must outlive the view. Until the window is shown
    // the controls can be filled without the user seeing them.
    virtual void SetEvents(ConfigDialogEvents& events) = 0;
    // The banner and the Save and Close button pictures (pure magenta pixels are transparent).
    virtual void SetPictures(const Bitmap& banner, const Bitmap& saveButton, const Bitmap& closeButton) = 0;
    // Shows the window centred on the desktop and dispatches events until the dialog closes,
    // by Close() or by the window's close button.
    virtual void ShowAndRun() = 0;
    virtual void Close() = 0;
    // The dialog's window as an owner; null before it exists.
    virtual NativeWindow Window() const = 0;

    // listBoxPhotoDir: its lines in order, and the selected line (-1 for none).
    virtual void ClearDirectories() = 0;
    virtual void AppendDirectory(const std::string& line) = 0;
    virtual std::vector<std::string> Directories() const = 0;
    virtual int SelectedDirectory() const = 0;
    virtual void DeleteDirectory(int index) = 0;

    // upDownInterval: its position, taken as it is (the dialog keeps it within the range).
    virtual void SetIntervalPosition(int position) = 0;
    virtual int IntervalPosition() const = 0;
    // editInterval (read-only for the user).
    virtual void SetIntervalText(const std::string& text) = 0;
    virtual std::string IntervalText() const = 0;

    virtual void SetChecked(ConfigCheckBox box, bool checked) = 0;
    virtual bool Checked(ConfigCheckBox box) const = 0;

    // A message box owned by the dialog; returns the button chosen (mb::IdOk, ...).
    virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned style) = 0;
    // The standard error box (OK, error icon, the application title) for an error's message.
    virtual void ShowError(const std::string& message) = 0;
    // The system's folder browser, modal over the dialog, showing prompt above its tree and
    // offering file-system directories only, none preselected: the chosen directory's full
    // path, or nothing when the user cancelled.
    virtual std::optional<std::string> BrowseForFolder(const std::string& prompt) = 0;
    // A fresh about box owned by the dialog.
    virtual std::unique_ptr<AboutBoxView> CreateAboutBox() = 0;

protected:
    ConfigDialogView() = default;
    ConfigDialogView(const ConfigDialogView&) = delete;
    ConfigDialogView& operator=(const ConfigDialogView&) = delete;
};

// The OS's dialog: Win32 controls on Windows, GTK widgets on Linux. The window exists hidden,
// its controls in their start state, until ShowAndRun.
std::unique_ptr<ConfigDialogView> CreateConfigDialogView();
