#pragma once
#include <cstdint>

// Asks the platform to change the screen-saver password for the given parent window. Where the
// platform has no such service this does nothing; the result is never used.
void ChangeScreenSaverPassword(std::int32_t parentWindow);
