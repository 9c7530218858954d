#include "platform/linux/key_codes.h"

#include <gdk/gdk.h>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Key values whose code does not follow from a range below.
constexpr auto kKeyTable = std::to_array<std::pair<unsigned, int>>({
    {GDK_KEY_BackSpace, 0x08},    {GDK_KEY_Tab, 0x09},          {GDK_KEY_ISO_Left_Tab, 0x09},
    {GDK_KEY_KP_Tab, 0x09},       {GDK_KEY_Clear, 0x0C},        {GDK_KEY_KP_Begin, 0x0C},
    {GDK_KEY_Return, 0x0D},       {GDK_KEY_KP_Enter, 0x0D},     {GDK_KEY_Shift_L, 0x10},
    {GDK_KEY_Shift_R, 0x10},      {GDK_KEY_Control_L, 0x11},    {GDK_KEY_Control_R, 0x11},
    {GDK_KEY_Alt_L, 0x12},        {GDK_KEY_Alt_R, 0x12},        {GDK_KEY_Meta_L, 0x12},
    {GDK_KEY_Meta_R, 0x12},       {GDK_KEY_ISO_Level3_Shift, 0x12}, {GDK_KEY_Pause, 0x13},
    {GDK_KEY_Caps_Lock, 0x14},    {GDK_KEY_Escape, 0x1B},       {GDK_KEY_space, 0x20},
    {GDK_KEY_KP_Space, 0x20},     {GDK_KEY_Page_Up, 0x21},      {GDK_KEY_KP_Page_Up, 0x21},
    {GDK_KEY_Page_Down, 0x22},    {GDK_KEY_KP_Page_Down, 0x22}, {GDK_KEY_End, 0x23},
    {GDK_KEY_KP_End, 0x23},       {GDK_KEY_Home, 0x24},         {GDK_KEY_KP_Home, 0x24},
    {GDK_KEY_Left, 0x25},         {GDK_KEY_KP_Left, 0x25},      {GDK_KEY_Up, 0x26},
    {GDK_KEY_KP_Up, 0x26},        {GDK_KEY_Right, 0x27},        {GDK_KEY_KP_Right, 0x27},
    {GDK_KEY_Down, 0x28},         {GDK_KEY_KP_Down, 0x28},      {GDK_KEY_Print, 0x2C},
    {GDK_KEY_Insert, 0x2D},       {GDK_KEY_KP_Insert, 0x2D},    {GDK_KEY_Delete, 0x2E},
    {GDK_KEY_KP_Delete, 0x2E},    {GDK_KEY_Super_L, 0x5B},      {GDK_KEY_Super_R, 0x5C},
    {GDK_KEY_Menu, 0x5D},         {GDK_KEY_KP_Multiply, 0x6A},  {GDK_KEY_KP_Add, 0x6B},
    {GDK_KEY_KP_Separator, 0x6C}, {GDK_KEY_KP_Subtract, 0x6D},  {GDK_KEY_KP_Decimal, 0x6E},
    {GDK_KEY_KP_Divide, 0x6F},    {GDK_KEY_Num_Lock, 0x90},     {GDK_KEY_Scroll_Lock, 0x91},
    {GDK_KEY_semicolon, 0xBA},    {GDK_KEY_equal, 0xBB},        {GDK_KEY_comma, 0xBC},
    {GDK_KEY_minus, 0xBD},        {GDK_KEY_period, 0xBE},       {GDK_KEY_slash, 0xBF},
    {GDK_KEY_grave, 0xC0},        {GDK_KEY_bracketleft, 0xDB},  {GDK_KEY_backslash, 0xDC},
    {GDK_KEY_bracketright, 0xDD}, {GDK_KEY_apostrophe, 0xDE},
});

bool Within(unsigned keyval, unsigned first, unsigned last) { return keyval >= first && keyval <= last; }

} // namespace

int VirtualKeyOf(unsigned keyval)
{
    if (Within(keyval, GDK_KEY_a, GDK_KEY_z)) return static_cast<int>('A' + (keyval - GDK_KEY_a));
    if (Within(keyval, GDK_KEY_A, GDK_KEY_Z)) return static_cast<int>('A' + (keyval - GDK_KEY_A));
    if (Within(keyval, GDK_KEY_0, GDK_KEY_9)) return static_cast<int>('0' + (keyval - GDK_KEY_0));
    if (Within(keyval, GDK_KEY_KP_0, GDK_KEY_KP_9)) return static_cast<int>(0x60 + (keyval - GDK_KEY_KP_0));
    if (Within(keyval, GDK_KEY_F1, GDK_KEY_F24)) return static_cast<int>(vk::F1 + (keyval - GDK_KEY_F1));
    const auto* found = std::find_if(kKeyTable.begin(), kKeyTable.end(),
                                     [keyval](const auto& entry) { return entry.first == keyval; });
    return found == kKeyTable.end() ? 0 : found->second;
}

ShiftState ShiftStateOf(unsigned keyval, unsigned state)
{
    const int own = VirtualKeyOf(keyval);
    return ShiftState{
        .shift = (state & GDK_SHIFT_MASK) != 0 || own == vk::Shift,
        .ctrl = (state & GDK_CONTROL_MASK) != 0 || own == vk::Control,
        .alt = (state & GDK_MOD1_MASK) != 0 || own == vk::Menu,
    };
}

std::optional<MouseButton> MouseButtonOf(unsigned button)
{
    switch (button) {
    case 1: return MouseButton::Left;
    case 2: return MouseButton::Middle;
    case 3: return MouseButton::Right;
    case 8: return MouseButton::Back;
    case 9: return MouseButton::Forward;
    default: return std::nullopt;
    }
}
