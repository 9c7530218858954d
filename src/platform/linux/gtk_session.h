#pragma once

// Opens the display and initialises GTK on first use. False when there is no display: callers
// then fall back to what works without one.
bool EnsureGtkInitialized();
