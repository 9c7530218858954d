#pragma once

// GTK belongs to one thread: the first that claims it (the UI host's creator) or opens it.
// True when the calling thread is that thread.
bool ClaimGtkThread();

// Opens the display and initialises GTK on first use. False when there is no display, or on a
// thread other than GTK's: callers then fall back to what works without one.
bool EnsureGtkInitialized();
