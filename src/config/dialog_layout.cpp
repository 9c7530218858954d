#include "config/dialog_layout.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "gfx/error.h"

namespace {

using C = ConfigDialogEvents;
using A = AboutBoxEvents;
using K = ControlKind;

// In the order of creation, which is also the order of tab stops; the labels sit where the
// form lists them.
constexpr ConfigControl kConfigControls[] = {
    {.name = "imgLogo", .kind = K::Picture, .place = {0, 0, 513, 89}, .picture = DialogPicture::Banner,
     .click = &C::imgLogoClick},
    {.name = "Label1", .kind = K::Label, .place = {0, 96, 201, 16}, .text = "Photo's and Music's Directory List:",
     .fontHeight = 13},
    {.name = "listBoxPhotoDir", .kind = K::ListBox, .place = {0, 112, 369, 121}, .tabOrder = 0},
    {.name = "btnAddDir", .kind = K::Button, .place = {384, 112, 113, 25}, .text = "Add Directory...",
     .hint = "Add photo's directory to the list ", .tabOrder = 1, .click = &C::btnAddDirClick},
    {.name = "btnDelDir", .kind = K::Button, .place = {384, 160, 113, 25}, .text = "Remove Directory",
     .hint = "Remove the selected directory from the list.", .tabOrder = 2, .click = &C::btnDelDirClick},
    {.name = "btnViewDir", .kind = K::Button, .place = {384, 208, 113, 25}, .text = "Directory Detail...",
     .hint = "View Details in the directory selected .", .tabOrder = 3, .click = &C::btnViewDirClick},
    {.name = "checkShowTime", .kind = K::CheckBox, .place = {8, 240, 153, 17}, .text = "Show current time",
     .tabOrder = 4, .checked = true, .checkBox = ConfigCheckBox::ShowTime},
    {.name = "checkShowCurrentFile", .kind = K::CheckBox, .place = {8, 272, 153, 17},
     .text = "Show current file name", .tabOrder = 5, .checked = true, .checkBox = ConfigCheckBox::ShowCurrentFile},
    {.name = "upDownInterval", .kind = K::UpDown, .place = {185, 367, 15, 23}, .tabOrder = 6, .minimum = 1,
     .maximum = 100},
    {.name = "editInterval", .kind = K::Edit, .place = {152, 367, 33, 23}, .text = "1", .tabOrder = 7,
     .readOnly = true},
    {.name = "checkShowTotalCount", .kind = K::CheckBox, .place = {8, 304, 153, 17}, .text = "Show total count ",
     .tabOrder = 8, .checked = true, .checkBox = ConfigCheckBox::ShowTotalCount},
    {.name = "checkDisableRandom", .kind = K::CheckBox, .place = {8, 336, 201, 17},
     .text = "Disable photo random feature", .hint = "If disabled,photos will be displayed in sequential order",
     .tabOrder = 9, .checkBox = ConfigCheckBox::DisableRandom},
    {.name = "checkFadeOut", .kind = K::CheckBox, .place = {8, 400, 265, 17},
     .text = "Fade out current photo before display next ", .tabOrder = 10, .checkBox = ConfigCheckBox::FadeOut},
    {.name = "btnSave", .kind = K::Button, .place = {80, 488, 75, 25}, .text = "Save", .tabOrder = 11,
     .picture = DialogPicture::SaveButton, .click = &C::btnSaveClick},
    {.name = "btnClose", .kind = K::Button, .place = {352, 488, 75, 25}, .text = "Close", .tabOrder = 12,
     .picture = DialogPicture::CloseButton, .click = &C::btnCloseClick},
    {.name = "checkEnableMusic", .kind = K::CheckBox, .place = {248, 240, 225, 17},
     .text = "Enable music (midi / mp3 / wma)", .tabOrder = 13, .checkBox = ConfigCheckBox::EnableMusic},
    {.name = "checkDisableMusicRandom", .kind = K::CheckBox, .place = {248, 272, 201, 17},
     .text = "Disable music random feature", .hint = "If disabled,music will be played in sequential order",
     .tabOrder = 14, .checkBox = ConfigCheckBox::DisableMusicRandom},
    {.name = "Label2", .kind = K::Label, .place = {8, 368, 132, 15}, .text = "Display each Picture for "},
    {.name = "Label3", .kind = K::Label, .place = {208, 368, 48, 15}, .text = "seconds"},
    {.name = "lbl1", .kind = K::Label, .place = {8, 440, 487, 15},
     .text = "Tips: We can browse back and forwards using the arrow keys when screensaver running."},
};

constexpr DialogMenuItem<ConfigDialogEvents> kConfigMenu[] = {
    {"File", "Exit", &C::menuExitClick},
    {"Help", "Help Content...", &C::menuHelpContentClick},
    {"Help", "Home Page", &C::menuVisitHomePageClick},
    {"Help", "About...", &C::menuAboutClick},
};

constexpr AboutControl kAboutControls[] = {
    {.name = "Panel1", .kind = K::Panel, .place = {16, 8, 385, 145}},
    {.name = "Label1", .kind = K::Label, .place = {32, 24, 334, 16}, .text = "Tovelin Slide Screen Saver For Windows",
     .fontHeight = 13, .bold = true, .align = TextAlign::Centre, .parent = "Panel1"},
    {.name = kVersionLabelName, .kind = K::Label, .place = {136, 68, 89, 13}, .text = "Version 1.0.1.1546",
     .parent = "Panel1"},
    {.name = "Label4", .kind = K::Label, .place = {104, 200, 47, 13}, .text = "Web Site:", .align = TextAlign::Right},
    {.name = "labelWeb", .kind = K::Link, .place = {160, 200, 127, 13}, .click = &A::labelWebClick,
     .link = AboutLink::Web},
    {.name = "Label5", .kind = K::Label, .place = {83, 224, 68, 13}, .text = "Support Email:",
     .align = TextAlign::Right},
    {.name = "labelMail", .kind = K::Link, .place = {160, 224, 115, 13}, .click = &A::labelMailClick,
     .link = AboutLink::Mail},
    {.name = "btnVisitHomePage", .kind = K::Button, .place = {24, 248, 91, 25}, .text = "Visit Home Page",
     .tabOrder = 0, .click = &A::btnVisitHomePageClick},
    {.name = "btnClose", .kind = K::Button, .place = {296, 248, 91, 25}, .text = "Close", .tabOrder = 1,
     .click = &A::btnCloseClick},
};

} // namespace

const DialogWindow kConfigWindow{"Tovelin Screen Saver Configuration ", {510, 516}, "Arial", 12};
const DialogWindow kAboutWindow{"About", {414, 279}, "MS Sans Serif", 11};
const Point kAboutScreenPosition{192, 107};

std::span<const ConfigControl> ConfigControls() { return kConfigControls; }
std::span<const DialogMenuItem<ConfigDialogEvents>> ConfigMenu() { return kConfigMenu; }
std::span<const AboutControl> AboutControls() { return kAboutControls; }

template <typename Events>
Rect ClientPlace(std::span<const DialogControl<Events>> controls, const DialogControl<Events>& control)
{
    if (!control.parent) return control.place;
    for (const DialogControl<Events>& parent : controls)
        if (std::strcmp(parent.name, control.parent) == 0)
            return control.place.Translated(ClientPlace(controls, parent).x, ClientPlace(controls, parent).y);
    throw Error(std::string("No control ") + control.parent + " holds " + control.name);
}

template <typename Events>
std::vector<const DialogControl<Events>*> TabOrder(std::span<const DialogControl<Events>> controls)
{
    std::vector<const DialogControl<Events>*> stops;
    for (const DialogControl<Events>& control : controls)
        if (control.tabOrder != kNoTabStop) stops.push_back(&control);
    std::stable_sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->tabOrder < b->tabOrder; });
    return stops;
}

template <typename Events>
const DialogControl<Events>& ControlOfKind(std::span<const DialogControl<Events>> controls, ControlKind kind)
{
    const auto found = std::find_if(controls.begin(), controls.end(), [kind](const auto& c) { return c.kind == kind; });
    if (found == controls.end()) throw Error("The dialog has no control of the kind asked for");
    return *found;
}

const AboutControl& AboutVersionLabel()
{
    for (const AboutControl& control : AboutControls())
        if (std::string_view(control.name) == kVersionLabelName) return control;
    throw Error("The about box has no version label");
}

const AboutControl& AboutLinkLabel(AboutLink link)
{
    for (const AboutControl& control : AboutControls())
        if (control.kind == ControlKind::Link && control.link == link) return control;
    throw Error("The about box has no such link");
}

template Rect ClientPlace(std::span<const ConfigControl>, const ConfigControl&);
template Rect ClientPlace(std::span<const AboutControl>, const AboutControl&);
template std::vector<const ConfigControl*> TabOrder(std::span<const ConfigControl>);
template std::vector<const AboutControl*> TabOrder(std::span<const AboutControl>);
template const ConfigControl& ControlOfKind(std::span<const ConfigControl>, ControlKind);
template const AboutControl& ControlOfKind(std::span<const AboutControl>, ControlKind);
