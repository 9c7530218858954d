#pragma once
// GDK key values turned into the Win32 virtual-key codes and modifier state of the UI host.
#include <optional>

#include "platform/ui_host.h"

// The code of keys without one of their own, so that they still arrive as keys.
constexpr int kOtherKey = 0xFF;

// The virtual-key code of a GDK key value; 0 when the value has none (e.g. a shifted symbol).
int VirtualKeyOf(unsigned keyval);

// The modifiers of a key event: those held (GDK state bits) plus the key's own when it is one.
ShiftState ShiftStateOf(unsigned keyval, unsigned state);

// The button of an X button number: 1 to 3 and the back and forward buttons 8 and 9; none for
// the others (4 to 7 are the wheels, which arrive as scroll events).
std::optional<MouseButton> MouseButtonOf(unsigned button);
