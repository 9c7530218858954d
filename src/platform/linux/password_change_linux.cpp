#include "platform/password_change.h"

// Linux desktops lock the screen themselves: there is no saver password to change.
void ChangeScreenSaverPassword(std::int32_t) {}
