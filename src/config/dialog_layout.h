#pragma once
// The configuration dialog and the about box as data: every control with its kind, place,
// text, hint, start state, tab order and the handler it reaches, the menu bar, and the windows'
// captions, client sizes and fonts. Each OS's view builds its controls from these tables and
// only maps native events to the handlers named here, so both builds show the same dialogs.
#include <span>
#include <vector>

#include "gfx/geometry.h"
#include "platform/about_box_view.h"
#include "platform/config_dialog_view.h"

enum class ControlKind {
    Picture,  // a picture that takes clicks (the banner)
    Label,
    ListBox,  // single selection, one line per item
    Button,
    CheckBox,
    UpDown,   // a spin control bound to the edit before it in the table
    Edit,
    Panel,    // a lowered bevel that holds the labels placed in it
    Link,     // an underlined label that takes clicks and reports the mouse entering and leaving
};

enum class TextAlign { Left, Centre, Right };

// The prepared pictures a control shows (see dialog_artwork.h).
enum class DialogPicture { None, Banner, SaveButton, CloseButton };

constexpr int kNoTabStop = -1;

template <typename Events> struct DialogControl {
    const char* name;  // the control's own name: the GTK widget name and the tests' key
    ControlKind kind;
    Rect place;        // left, top, width, height; in the parent's area when parent is set
    const char* text = "";
    const char* hint = nullptr;     // shown as a tool tip
    int tabOrder = kNoTabStop;      // 0, 1, ... over the controls that take the focus
    bool checked = false;           // check boxes
    bool readOnly = false;          // edits
    int fontHeight = 0;             // character height in pixels; 0 for the window's
    bool bold = false;
    TextAlign align = TextAlign::Left;
    const char* parent = nullptr;   // the panel the control sits in
    DialogPicture picture = DialogPicture::None;
    void (Events::*click)() = nullptr;
    ConfigCheckBox checkBox{};      // CheckBox controls of the configuration dialog
    AboutLink link{};               // Link controls of the about box
    int minimum = 0, maximum = 0;   // UpDown: its range; its start position is the minimum
};

template <typename Events> struct DialogMenuItem {
    const char* menu;  // the menu bar's entry that holds the item
    const char* text;
    void (Events::*click)();
};

struct DialogWindow {
    const char* caption;
    Size client;
    const char* fontFace;
    int fontHeight;  // character height in pixels
};

using ConfigControl = DialogControl<ConfigDialogEvents>;
using AboutControl = DialogControl<AboutBoxEvents>;

extern const DialogWindow kConfigWindow;
// In the order the controls are created; see ConfigTabOrder for the focus order.
std::span<const ConfigControl> ConfigControls();
std::span<const DialogMenuItem<ConfigDialogEvents>> ConfigMenu();

extern const DialogWindow kAboutWindow;
extern const Point kAboutScreenPosition;
std::span<const AboutControl> AboutControls();

// listBoxPhotoDir's line height and the width it scrolls over sideways.
constexpr int kListLineHeight = 15;
constexpr int kListScrollWidth = 600;

// The control that shows the program's version in the about box.
constexpr const char* kVersionLabelName = "lblVersion";
const AboutControl& AboutVersionLabel();
// The about box's label of a link.
const AboutControl& AboutLinkLabel(AboutLink link);

// A control's place in the window's client area (a panel's controls are placed in the panel).
template <typename Events>
Rect ClientPlace(std::span<const DialogControl<Events>> controls, const DialogControl<Events>& control);

// The controls that take the focus, in their tab order.
template <typename Events>
std::vector<const DialogControl<Events>*> TabOrder(std::span<const DialogControl<Events>> controls);

// The first control of a kind (the views use it for the controls that exist once).
template <typename Events>
const DialogControl<Events>& ControlOfKind(std::span<const DialogControl<Events>> controls, ControlKind kind);
