#pragma once
// Another program's X11 window, drawn into without being ours: a screen-saver daemon's window,
// its settings preview, or the root window. Only its size, exposure and destruction are
// watched; its input is its owner's. And the signals that end a show run for a daemon.
#include <gdk/gdk.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "gfx/geometry.h"
#include "platform/linux/glib_owners.h"

// Which window: nothing names the root window.
struct ForeignWindowTarget {
    std::optional<std::uint64_t> window;
};

class ForeignX11Window {
public:
    struct Handlers {
        std::function<void()> resized;
        std::function<void()> exposed;
        std::function<void()> lost;
    };

    // GTK must be open on an X11 display. Throws Error when the window does not exist.
    explicit ForeignX11Window(const ForeignWindowTarget& target);
    ForeignX11Window(const ForeignX11Window&) = delete;
    ForeignX11Window& operator=(const ForeignX11Window&) = delete;
    ~ForeignX11Window();

    Size GetSize() const { return m_Size; }
    // The window was destroyed: nothing is drawn any more.
    bool Lost() const { return m_Lost; }
    // Starts watching; the handlers run inside GDK's event dispatch.
    void Watch(Handlers handlers);
    // Copies area of frame to the same place of the window.
    void Draw(cairo_surface_t* frame, const Rect& area);

private:
    static GdkFilterReturn Filter(GdkXEvent* xevent, GdkEvent* event, gpointer self);

    void* m_Display = nullptr; // the X display of GDK's default display
    unsigned long m_Xid = 0;
    Size m_Size;
    bool m_Lost = false;
    bool m_Watching = false;
    Owned<cairo_surface_t, cairo_surface_destroy> m_Surface;
    Handlers m_Handlers;
};

// SIGTERM, SIGINT and SIGHUP reach onSignal on the UI thread's main context, instead of ending
// the process at once. Once this goes, they are ignored until the process ends: a daemon may
// send a second one while the show tears down, which must not change its exit status.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
    ~TerminationSignals();

private:
    static gboolean OnSignal(gpointer);
};
