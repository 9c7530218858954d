// GDK key values as the virtual-key codes and modifier state that forms see.
#include <gtest/gtest.h>
#include <gdk/gdk.h>

#include "platform/linux/key_codes.h"

namespace {

TEST(KeyCodesGtk, KeyValuesMapToVirtualKeys)
{
    struct Case {
        unsigned keyval;
        int key;
    };
    const Case cases[] = {
        {GDK_KEY_Left, vk::Left},       {GDK_KEY_KP_Left, vk::Left},    {GDK_KEY_Up, vk::Up},
        {GDK_KEY_KP_Up, vk::Up},        {GDK_KEY_KP_Right, vk::Right},  {GDK_KEY_KP_Down, vk::Down},
        {GDK_KEY_a, 'A'},               {GDK_KEY_z, 'Z'},               {GDK_KEY_Q, 'Q'},
        {GDK_KEY_0, '0'},               {GDK_KEY_9, '9'},               {GDK_KEY_Return, vk::Return},
        {GDK_KEY_KP_Enter, vk::Return}, {GDK_KEY_Escape, vk::Escape},   {GDK_KEY_space, vk::Space},
        {GDK_KEY_Tab, vk::Tab},         {GDK_KEY_BackSpace, vk::Back},  {GDK_KEY_Shift_L, vk::Shift},
        {GDK_KEY_Shift_R, vk::Shift},   {GDK_KEY_Control_R, vk::Control}, {GDK_KEY_Alt_L, vk::Menu},
        {GDK_KEY_ISO_Level3_Shift, vk::Menu}, {GDK_KEY_F1, vk::F1},     {GDK_KEY_F12, 0x7B},
        {GDK_KEY_Insert, 0x2D},         {GDK_KEY_Delete, 0x2E},         {GDK_KEY_Home, 0x24},
        {GDK_KEY_End, 0x23},            {GDK_KEY_Page_Up, 0x21},        {GDK_KEY_Page_Down, 0x22},
        {GDK_KEY_KP_5, 0x65},           {GDK_KEY_exclam, 0},            {GDK_KEY_VoidSymbol, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(VirtualKeyOf(c.keyval), c.key) << gdk_keyval_name(c.keyval);
}

TEST(KeyCodesGtk, ModifiersComeFromTheStateAndFromTheKeyItself)
{
    struct Case {
        unsigned keyval;
        unsigned state;
        ShiftState shift;
    };
    const Case cases[] = {
        {GDK_KEY_a, 0, {}},
        {GDK_KEY_a, GDK_SHIFT_MASK, {.shift = true}},
        {GDK_KEY_a, GDK_LOCK_MASK | GDK_MOD2_MASK, {}},
        {GDK_KEY_Left, GDK_CONTROL_MASK, {.ctrl = true}},
        {GDK_KEY_x, GDK_MOD1_MASK | GDK_CONTROL_MASK, {.ctrl = true, .alt = true}},
        {GDK_KEY_Control_L, 0, {.ctrl = true}},
        {GDK_KEY_Shift_R, GDK_CONTROL_MASK, {.shift = true, .ctrl = true}},
        {GDK_KEY_Alt_L, 0, {.alt = true}},
    };
    for (const Case& c : cases) EXPECT_EQ(ShiftStateOf(c.keyval, c.state), c.shift) << gdk_keyval_name(c.keyval);
}

TEST(KeyCodesGtk, ButtonNumbersMapToTheFormsButtons)
{
    struct Case {
        unsigned button;
        std::optional<MouseButton> mapped;
    };
    const Case cases[] = {
        {1, MouseButton::Left},   {2, MouseButton::Middle}, {3, MouseButton::Right},
        {8, MouseButton::Back},   {9, MouseButton::Forward}, {0, std::nullopt},
        {4, std::nullopt},        {7, std::nullopt},         {10, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(MouseButtonOf(c.button), c.mapped) << c.button;
}

} // namespace
