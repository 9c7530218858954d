#include "platform/linux/foreign_x11_window.h"

#include <cairo-xlib.h>
#include <gdk/gdkx.h>
#include <glib-unix.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <utility>

#include "gfx/error.h"
#include "platform/linux/frame_copy.h"

namespace {

Display* XDisplayOf(void* display) { return static_cast<Display*>(display); }

// X errors about the window (it may go at any moment) are the owner's business, not fatal ones:
// GDK would abort on an error that no trap covers.
class ErrorTrap {
public:
    ErrorTrap() : m_Display(gdk_display_get_default()) { gdk_x11_display_error_trap_push(m_Display); }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;
    ~ErrorTrap()
    {
        if (m_Display) gdk_x11_display_error_trap_pop_ignored(m_Display);
    }
    // Waits for the server's answers; the first error's code, 0 for none.
    int Pop() { return gdk_x11_display_error_trap_pop(std::exchange(m_Display, nullptr)); }

private:
    GdkDisplay* m_Display;
};

std::string WindowName(const ForeignWindowTarget& target)
{
    if (!target.window) return "the root window";
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(*target.window));
    return std::string("the window ") + text;
}

} // namespace

ForeignX11Window::ForeignX11Window(const ForeignWindowTarget& target)
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) throw Error("Drawing into another program's window needs an X11 display.");
    Display* xdisplay = GDK_DISPLAY_XDISPLAY(display);
    m_Display = xdisplay;
    m_Xid = target.window ? static_cast<unsigned long>(*target.window) : DefaultRootWindow(xdisplay);

    XWindowAttributes attributes{};
    ErrorTrap trap;
    const Status found = XGetWindowAttributes(xdisplay, m_Xid, &attributes);
    if (trap.Pop() != 0 || found == 0) throw Error(WindowName(target) + " does not exist");
    m_Size = Size{attributes.width, attributes.height};
    m_Surface.reset(cairo_xlib_surface_create(xdisplay, m_Xid, attributes.visual, attributes.width, attributes.height));
    if (cairo_surface_status(m_Surface.get()) != CAIRO_STATUS_SUCCESS)
        throw Error("Cannot draw into " + WindowName(target) + ".");
}

ForeignX11Window::~ForeignX11Window()
{
    if (m_Watching) gdk_window_remove_filter(nullptr, Filter, this);
    if (m_Surface) {
        // The surface's last requests may still fail on a window that has just gone.
        const ErrorTrap trap;
        m_Surface.reset();
    }
}

void ForeignX11Window::Watch(Handlers handlers)
{
    m_Handlers = std::move(handlers);
    Display* xdisplay = XDisplayOf(m_Display);
    {
        const ErrorTrap trap;
        // Added to what this connection already selects there (GDK watches the root window).
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(xdisplay, m_Xid, &attributes) != 0)
            XSelectInput(xdisplay, m_Xid, attributes.your_event_mask | StructureNotifyMask | ExposureMask);
    }
    if (!m_Watching) gdk_window_add_filter(nullptr, Filter, this);
    m_Watching = true;
}

GdkFilterReturn ForeignX11Window::Filter(GdkXEvent* xeventData, GdkEvent*, gpointer self)
{
    auto& window = *static_cast<ForeignX11Window*>(self);
    const XEvent& xevent = *reinterpret_cast<const XEvent*>(xeventData);
    if (xevent.xany.window != window.m_Xid || window.m_Lost) return GDK_FILTER_CONTINUE;
    switch (xevent.type) {
    case ConfigureNotify: {
        const Size size{xevent.xconfigure.width, xevent.xconfigure.height};
        if (size == window.m_Size) break;
        window.m_Size = size;
        cairo_xlib_surface_set_size(window.m_Surface.get(), size.width, size.height);
        if (window.m_Handlers.resized) window.m_Handlers.resized();
        break;
    }
    case Expose:
        if (xevent.xexpose.count == 0 && window.m_Handlers.exposed) window.m_Handlers.exposed();
        break;
    case DestroyNotify:
        if (xevent.xdestroywindow.window != window.m_Xid) break;
        window.m_Lost = true;
        if (window.m_Handlers.lost) window.m_Handlers.lost();
        break;
    default:
        break;
    }
    return GDK_FILTER_CONTINUE;
}

void ForeignX11Window::Draw(cairo_surface_t* frame, const Rect& area)
{
    if (m_Lost || area.IsEmpty()) return;
    const ErrorTrap trap;
    {
        const Owned<cairo_t, cairo_destroy> cr(cairo_create(m_Surface.get()));
        CopyFrameArea(cr.get(), frame, area);
    }
    cairo_surface_flush(m_Surface.get());
    // As for the show's own window: one frame in the server at a time.
    XSync(XDisplayOf(m_Display), False);
}

namespace {

// What a termination signal does now; nothing once the show has ended. The GLib sources stay for
// the life of the process: removing them would give the signals their deadly default back.
std::function<void()> g_OnTermination;
bool g_TerminationSourcesAdded = false;

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal)
{
    g_OnTermination = std::move(onSignal);
    if (g_TerminationSourcesAdded) return;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) g_unix_signal_add(signal, OnSignal, nullptr);
    g_TerminationSourcesAdded = true;
}

TerminationSignals::~TerminationSignals() { g_OnTermination = nullptr; }

gboolean TerminationSignals::OnSignal(gpointer)
{
    // The handler may end the show, and this object with it.
    if (const std::function<void()> onSignal = g_OnTermination) onSignal();
    return G_SOURCE_CONTINUE;
}
