#pragma once

// What a message box answers when nobody can see it: the button that cancels, or OK.
int SilentAnswer(unsigned style);
