// Prints the dialogs' table for the end-to-end tests, which check the real windows against it.
// One line a control, fields separated by tabs:
//   control DIALOG NAME KIND LEFT TOP WIDTH HEIGHT TEXT
// with the place in the client area and TEXT "-" where the program replaces the table's text
// when it fills the window (or the control shows none); then
//   window DIALOG CAPTION CLIENT_WIDTH CLIENT_HEIGHT
//   menu config MENU ITEM
#include <cstdio>
#include <string_view>

#include "config/dialog_layout.h"

namespace {

const char* KindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Picture: return "picture";
    case ControlKind::Label: return "label";
    case ControlKind::ListBox: return "listbox";
    case ControlKind::Button: return "button";
    case ControlKind::CheckBox: return "checkbox";
    case ControlKind::UpDown: return "updown";
    case ControlKind::Edit: return "edit";
    case ControlKind::Panel: return "panel";
    case ControlKind::Link: return "link";
    }
    return "?";
}

template <typename Events> void PrintControls(const char* dialog, std::span<const DialogControl<Events>> controls)
{
    for (const auto& control : controls) {
        const Rect place = ClientPlace(controls, control);
        const bool replaced = control.kind == ControlKind::Edit || std::string_view(control.name) == kVersionLabelName;
        const char* text = replaced || !*control.text ? "-" : control.text;
        std::printf("control\t%s\t%s\t%s\t%d\t%d\t%d\t%d\t%s\n", dialog, control.name, KindName(control.kind), place.x,
                    place.y, place.width, place.height, text);
    }
}

void PrintWindow(const char* dialog, const DialogWindow& window)
{
    std::printf("window\t%s\t%s\t%d\t%d\n", dialog, window.caption, window.client.width, window.client.height);
}

} // namespace

int main()
{
    PrintWindow("config", kConfigWindow);
    PrintControls("config", ConfigControls());
    for (const auto& item : ConfigMenu()) std::printf("menu\tconfig\t%s\t%s\n", item.menu, item.text);
    PrintWindow("about", kAboutWindow);
    PrintControls("about", AboutControls());
    return 0;
}
