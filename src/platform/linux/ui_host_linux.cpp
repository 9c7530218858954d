#include "platform/linux/ui_host_linux.h"

#include <cairo-xlib.h>
#include <gdk/gdkx.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "gfx/error.h"
#include "platform/linux/frame_copy.h"
#include "platform/linux/gtk_session.h"
#include "platform/linux/key_codes.h"
#include "platform/linux/media_player_linux.h"
#include "platform/linux/message_box_linux.h"
#include "platform/program_file.h"

namespace {

// Windows raises shorter timer intervals to this; a zero interval would also keep the main
// context busy for ever.
constexpr int kMinTimerMs = 10;
// The drain after a wait ends even when a source is always ready.
constexpr int kMaxDrainIterations = 1000;
constexpr double kDefaultResolution = 96.0;
constexpr const char* kFallbackFace = "Liberation Sans";

GdkMonitor* PrimaryMonitor()
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display) return nullptr;
    // Xvfb and many single-screen setups name no primary monitor.
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor && gdk_display_get_n_monitors(display) > 0) monitor = gdk_display_get_monitor(display, 0);
    return monitor;
}

bool PrimaryMonitorGeometry(GdkRectangle& geometry)
{
    GdkMonitor* monitor = PrimaryMonitor();
    if (!monitor) return false;
    gdk_monitor_get_geometry(monitor, &geometry);
    return true;
}

double ScreenResolution()
{
    if (EnsureGtkInitialized()) {
        if (GdkScreen* screen = gdk_screen_get_default()) {
            const double resolution = gdk_screen_get_resolution(screen);
            if (resolution > 0) return resolution;
        }
    }
    return kDefaultResolution;
}

// Pango takes UTF-8 only; a file name in another encoding still shows, with replacements.
std::string ValidUtf8(std::string_view text)
{
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return std::string(text);
    return GlibString(g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()))).str();
}

// cairo writes 0xFF into the unused byte of the pixels it touches; GDI and the raster code
// leave it zero.
void ClearUnusedBytes(Bitmap& target, const Rect& area)
{
    const Rect clipped = area.Intersected(target.Bounds());
    for (int y = clipped.y; y < clipped.Bottom(); ++y) {
        Pixel* row = target.Row(y);
        for (int x = clipped.x; x < clipped.Right(); ++x) row[x] &= 0x00FFFFFF;
    }
}

Rect Union(const PangoRectangle& a, const PangoRectangle& b)
{
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    return Rect{left, top, std::max(a.x + a.width, b.x + b.width) - left, std::max(a.y + a.height, b.y + b.height) - top};
}

} // namespace

// A worker's box may come before the window: the channel serves it while a wait pumps.
GtkUiHost::GtkUiHost() : UiHostCore(true)
{
    ClaimGtkThread();
    m_Channel = std::make_shared<UiThreadChannel>();
}

GtkUiHost::GtkUiHost(const ForeignWindowTarget& target) : UiHostCore(true)
{
    if (!ClaimGtkThread() || !EnsureGtkInitialized()) throw Error("No display is available (is DISPLAY set?)");
    m_Foreign = std::make_unique<ForeignX11Window>(target);
    m_Screen = m_Foreign->GetSize();
    m_Channel = std::make_shared<UiThreadChannel>();
    // From now on, so that a signal before the window is attached still ends the show cleanly.
    m_TerminationSignals = std::make_unique<TerminationSignals>([this] { OnTerminationSignal(); });
}

GtkUiHost::~GtkUiHost()
{
    // Waiting workers get their answer now; queued tasks would find a host that is gone.
    ShutDown();
    if (m_Window) gtk_widget_destroy(m_Window);
}

void GtkUiHost::OpenFullScreenWindow(UiEvents& events, bool topMost)
{
    if (m_Window || WindowHasGone()) throw Error("The UI host has already opened its window.");
    if (!OnUiThread()) throw Error("The window can only be opened on the UI thread.");
    if (m_Foreign) return AttachForeignWindow(events);
    if (!EnsureGtkInitialized())
        throw Error("Cannot open the full-screen window: no display is available (is DISPLAY set?).");
    GdkRectangle geometry{};
    if (!PrimaryMonitorGeometry(geometry)) throw Error("Cannot open the full-screen window: the display has no monitor.");

    WindowOpened(events);
    m_Screen = Size{geometry.width, geometry.height};
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    m_Window = window;
    m_Channel->SetWindowOpen(true);

    GtkWindow* gtkWindow = GTK_WINDOW(window);
    gtk_window_set_title(gtkWindow, ApplicationTitle().c_str());
    gtk_window_set_decorated(gtkWindow, FALSE);
    gtk_widget_set_app_paintable(window, TRUE);
    gtk_widget_add_events(window, GDK_KEY_PRESS_MASK | GDK_BUTTON_PRESS_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_STRUCTURE_MASK | GDK_EXPOSURE_MASK);
    // Without a window manager, fullscreen alone leaves a small window: place and size it first.
    gtk_window_move(gtkWindow, geometry.x, geometry.y);
    gtk_window_set_default_size(gtkWindow, geometry.width, geometry.height);
    gtk_window_resize(gtkWindow, geometry.width, geometry.height);
    if (topMost) gtk_window_set_keep_above(gtkWindow, TRUE);

    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(window, "button-press-event", G_CALLBACK(OnButtonPress), this);
    g_signal_connect(window, "motion-notify-event", G_CALLBACK(OnMotion), this);
    g_signal_connect(window, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDeleteEvent), this);
    g_signal_connect(window, "destroy", G_CALLBACK(OnDestroy), this);

    gtk_widget_show(window);
    gtk_window_fullscreen(gtkWindow);
}

void GtkUiHost::AttachForeignWindow(UiEvents& events)
{
    if (WindowIsOpen()) throw Error("The UI host has already opened its window.");
    WindowOpened(events);
    m_Channel->SetWindowOpen(true);
    m_Foreign->Watch({
        .resized =
            [this] {
                m_Screen = m_Foreign->GetSize();
                m_Channel->Post([this] { WindowResized(); });
            },
        .exposed =
            [this] {
                ++m_InputCount;
                // Inside GDK's dispatch: no error may cross it.
                Guarded([this] { ShowFrame(LastFrame().Bounds()); });
                QueuePaint();
            },
        .lost = [this] { m_Channel->Post([this] { WindowLost(); }); },
    });
    // The window is on the screen already: the show paints it as it would a window of its own.
    QueuePaint();
    if (m_TerminationPending) m_Channel->Post([this] { RequestClose(); });
}

void GtkUiHost::OnTerminationSignal()
{
    if (WindowIsOpen()) {
        RequestClose();
    } else if (!WindowHasGone()) {
        m_TerminationPending = true;
    }
}

void GtkUiHost::DestroyNativeWindow()
{
    // Another program's window stays; only the show in it ends.
    if (m_Foreign) return NativeWindowDestroyed();
    if (m_Window) gtk_widget_destroy(m_Window);
}

void GtkUiHost::NativeWindowDestroyed()
{
    // While the X window still exists: cairo frees what it made for it.
    m_WindowSurface.reset();
    m_Window = nullptr;
    WindowGone();
    m_Channel->SetWindowOpen(false);
    for (GMainLoop* loop : m_Loops) g_main_loop_quit(loop);
}

void GtkUiHost::QueuePaint()
{
    // The form's paint handler animates and waits: it runs after the paint phase, not in it.
    if (m_PaintQueued) return;
    m_PaintQueued = m_Channel->Post([this] {
        m_PaintQueued = false;
        Deliver([](UiEvents& events) { events.Paint(); });
    });
}

Size GtkUiHost::ScreenSize() const
{
    if (!m_Screen.IsEmpty()) return m_Screen;
    GdkRectangle geometry{};
    if (EnsureGtkInitialized() && PrimaryMonitorGeometry(geometry)) return Size{geometry.width, geometry.height};
    return Size{};
}

double GtkUiHost::RefreshRate() const
{
    if (m_RefreshRate > 0) return m_RefreshRate;
    m_RefreshRate = kDefaultRefreshRate;
    if (EnsureGtkInitialized()) {
        // In millihertz; 0 when the display does not say (Xvfb).
        if (GdkMonitor* monitor = PrimaryMonitor(); monitor && gdk_monitor_get_refresh_rate(monitor) >= 1000)
            m_RefreshRate = gdk_monitor_get_refresh_rate(monitor) / 1000.0;
    }
    return m_RefreshRate;
}

void GtkUiHost::Run()
{
    if (!m_Window && !(m_Foreign && WindowIsOpen())) return;
    const MainLoopPtr loop = NewMainLoop();
    m_Loops.push_back(loop.get());
    {
        const PumpScope pump(*m_Channel);
        g_main_loop_run(loop.get());
    }
    std::erase(m_Loops, loop.get());
}

void GtkUiHost::WaitAndDispatch(int maxMs)
{
    const PumpScope pump(*m_Channel);
    GMainContext* context = g_main_context_default();
    // As MsgWaitForMultipleObjects with keys, mouse buttons and paints as its wake mask: only
    // such input ends the wait early. Whatever else becomes ready meanwhile (a timer, a task, the
    // X server's answer to a frame) is served as it comes, and the wait goes on.
    const gint64 deadline = g_get_monotonic_time() + gint64{std::max(maxMs, 0)} * 1000;
    const unsigned inputBefore = m_InputCount;
    do {
        const gint64 left = deadline - g_get_monotonic_time();
        PollOnce(context, left > 0 ? static_cast<int>((left + 999) / 1000) : 0);
    } while (m_InputCount == inputBefore && !WindowHasGone() && g_get_monotonic_time() < deadline);
    for (int i = 0; i < kMaxDrainIterations && g_main_context_iteration(context, FALSE); ++i) {
    }
}

void GtkUiHost::PollOnce(GMainContext* context, int maxMs)
{
    // One iteration that blocks at most maxMs for any source, then dispatches what is ready.
    if (!g_main_context_acquire(context)) return;
    gint priority = 0;
    g_main_context_prepare(context, &priority);
    if (m_PollFds.empty()) m_PollFds.resize(16);
    gint timeout = -1;
    gint count = 0;
    while ((count = g_main_context_query(context, priority, &timeout, m_PollFds.data(),
                                         static_cast<gint>(m_PollFds.size()))) > static_cast<gint>(m_PollFds.size()))
        m_PollFds.resize(static_cast<std::size_t>(count));
    if (timeout < 0 || timeout > maxMs) timeout = maxMs;
    g_poll(m_PollFds.data(), static_cast<guint>(count), timeout);
    g_main_context_check(context, priority, m_PollFds.data(), count);
    g_main_context_dispatch(context);
    g_main_context_release(context);
}

void GtkUiHost::StartNativeTimer(int timerId, int intervalMs)
{
    m_Timers.erase(timerId);
    SourcePtr source(g_timeout_source_new(static_cast<guint>(std::max(intervalMs, kMinTimerMs))));
    g_source_set_callback(source.get(), OnTimer, this, nullptr);
    // As on Windows, a tick handler that waits still sees ticks, its own timer's included.
    g_source_set_can_recurse(source.get(), TRUE);
    g_source_attach(source.get(), nullptr);
    m_Timers.emplace(timerId, std::move(source));
}

gboolean GtkUiHost::OnTimer(gpointer self)
{
    auto& host = *static_cast<GtkUiHost*>(self);
    GSource* current = g_main_current_source();
    const auto found = std::find_if(host.m_Timers.begin(), host.m_Timers.end(),
                                    [current](const auto& entry) { return entry.second.get() == current; });
    if (found == host.m_Timers.end()) return G_SOURCE_REMOVE;
    const int timerId = found->first;
    // The handler may stop or restart this very timer; nothing of the entry is used after it.
    host.TimerTicked(timerId);
    return G_SOURCE_CONTINUE;
}

std::optional<int> GtkUiHost::ShowWorkerBox(const std::string& text, const std::string& caption, unsigned style)
{
    if (m_Foreign) {
        // No window of the program's own goes up over another's: the box's text goes to the
        // log, and it gives its cancelling answer.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return std::nullopt;
    }
    if (OnUiThread()) return ShowMessageBox(text, caption, style, m_Window);
    // The channel outlives the host for a worker still waiting when the host goes away.
    const std::shared_ptr<UiThreadChannel> channel = m_Channel;
    // The box blocks its worker only: the UI thread puts it up and goes on with the show, whose
    // keys and clicks still end it.
    const auto answer = channel->Ask([this, text, caption, style](UiThreadChannel::Reply reply) {
        OpenWorkerBox(text, caption, style, std::move(reply));
    });
    if (answer) return answer;
    // Off GTK's thread the box only echoes an error to standard error and gives its silent answer.
    return ShowMessageBox(text, caption, style);
}

void GtkUiHost::OpenWorkerBox(const std::string& text, const std::string& caption, unsigned style,
                              UiThreadChannel::Reply reply)
{
    GtkWidget* dialog = NewMessageDialog(text, caption, style, m_Window, false);
    if (!dialog) {
        reply(CancellingAnswer(style));
        return;
    }
    m_WorkerBoxes.push_back(std::make_unique<WorkerBox>(WorkerBox{this, dialog, style, std::move(reply)}));
    WorkerBox* box = m_WorkerBoxes.back().get();
    g_signal_connect(dialog, "response", G_CALLBACK(OnWorkerBoxResponse), box);
    g_signal_connect(dialog, "destroy", G_CALLBACK(OnWorkerBoxDestroy), box);
    gtk_window_present(GTK_WINDOW(dialog));
}

void GtkUiHost::OnWorkerBoxResponse(GtkDialog*, gint response, gpointer data)
{
    auto& box = *static_cast<WorkerBox*>(data);
    if (auto reply = std::exchange(box.reply, nullptr)) reply(AnswerOf(response, box.style));
    gtk_widget_destroy(box.dialog);
}

void GtkUiHost::OnWorkerBoxDestroy(GtkWidget*, gpointer data)
{
    auto& box = *static_cast<WorkerBox*>(data);
    if (auto reply = std::exchange(box.reply, nullptr)) reply(CancellingAnswer(box.style));
    std::erase_if(box.host->m_WorkerBoxes, [&box](const auto& entry) { return entry.get() == &box; });
}

void GtkUiHost::CancelWorkerBoxes()
{
    // Each box's destroy handler answers its worker and forgets the box.
    while (!m_WorkerBoxes.empty()) gtk_widget_destroy(m_WorkerBoxes.back()->dialog);
    // No loop is left to run tasks or to put up boxes: the workers waiting for either go.
    m_Channel->Close();
}

std::unique_ptr<MediaPlayer> GtkUiHost::CreateMediaPlayer() { return std::make_unique<GstMediaPlayer>(*this); }

void GtkUiHost::ShowFrame(const Rect& area)
{
    const Bitmap& frame = LastFrame();
    // cairo only reads the frame, as the source of its copies to the window.
    auto* pixels = reinterpret_cast<unsigned char*>(const_cast<Pixel*>(frame.Data()));
    if (!m_LastFrameSurface || cairo_image_surface_get_data(m_LastFrameSurface.get()) != pixels ||
        cairo_image_surface_get_width(m_LastFrameSurface.get()) != frame.Width() ||
        cairo_image_surface_get_height(m_LastFrameSurface.get()) != frame.Height()) {
        SurfacePtr surface(cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_RGB24, frame.Width(), frame.Height(),
                                                               static_cast<int>(frame.Stride())));
        if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
            throw Error("The frame is too large to be shown.");
        m_LastFrameSurface = std::move(surface);
    }
    if (area.IsEmpty()) return;
    cairo_surface_mark_dirty_rectangle(m_LastFrameSurface.get(), area.x, area.y, area.width, area.height);
    if (m_Foreign) {
        if (WindowIsOpen()) m_Foreign->Draw(m_LastFrameSurface.get(), area);
        return;
    }
    if (!m_Window) return;
    GdkWindow* gdkWindow = gtk_widget_get_window(m_Window);
    if (!gdkWindow || !gdk_window_is_viewable(gdkWindow)) return;
    // Drawn now rather than through the frame clock, which would cap an animation's steps.
    GdkDisplay* display = gdk_window_get_display(gdkWindow);
    if (GDK_IS_X11_DISPLAY(display)) {
        // Straight into the window: GDK's frame would first copy it into a pixmap of its own,
        // which at 3840x2160 trebles the cost of a whole-screen present.
        const int width = gdk_window_get_width(gdkWindow);
        const int height = gdk_window_get_height(gdkWindow);
        if (!m_WindowSurface) {
            m_WindowSurface.reset(cairo_xlib_surface_create(GDK_DISPLAY_XDISPLAY(display), gdk_x11_window_get_xid(gdkWindow),
                                                            GDK_VISUAL_XVISUAL(gdk_window_get_visual(gdkWindow)), width,
                                                            height));
        } else if (cairo_xlib_surface_get_width(m_WindowSurface.get()) != width ||
                   cairo_xlib_surface_get_height(m_WindowSurface.get()) != height) {
            cairo_xlib_surface_set_size(m_WindowSurface.get(), width, height);
        }
        {
            const Owned<cairo_t, cairo_destroy> cr(cairo_create(m_WindowSurface.get()));
            CopyFrameArea(cr.get(), m_LastFrameSurface.get(), area);
        }
        cairo_surface_flush(m_WindowSurface.get());
    } else {
        const cairo_rectangle_int_t bounds{area.x, area.y, area.width, area.height};
        const Owned<cairo_region_t, cairo_region_destroy> region(cairo_region_create_rectangle(&bounds));
        GdkDrawingContext* drawing = gdk_window_begin_draw_frame(gdkWindow, region.get());
        CopyFrameArea(gdk_drawing_context_get_cairo_context(drawing), m_LastFrameSurface.get(), area);
        gdk_window_end_draw_frame(gdkWindow, drawing);
    }
    // Until the server has taken this frame, none follows: frames sent faster than it shows
    // them only pile up in shared memory (gigabytes at 3840x2160) and are seen late.
    gdk_display_sync(display);
}

void GtkUiHost::DrawText(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text)
{
    if (target.IsEmpty() || text.empty()) return;
    const SurfacePtr surface(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(target.Data()),
                                                                 CAIRO_FORMAT_RGB24, target.Width(), target.Height(),
                                                                 static_cast<int>(target.Stride())));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) throw Error("Text cannot be drawn on a picture this large.");
    const Owned<cairo_t, cairo_destroy> cr(cairo_create(surface.get()));
    const auto layout = ObjectRef<PangoLayout>::Adopt(pango_cairo_create_layout(cr.get()));
    pango_cairo_context_set_resolution(pango_layout_get_context(layout.get()), ScreenResolution());
    pango_layout_context_changed(layout.get());

    const Owned<PangoFontDescription, pango_font_description_free> description(pango_font_description_new());
    // A face the system lacks ("Ms Sans Serif") falls back to Arial's metric twin, as GDI maps an
    // unknown face to a plain sans serif; fontconfig alone would pick DejaVu Sans.
    const std::string family = font.face.empty() ? std::string(kFallbackFace) : font.face + "," + kFallbackFace;
    pango_font_description_set_family(description.get(), family.c_str());
    pango_font_description_set_size(description.get(), std::max(font.points, 1) * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), description.get());
    const std::string valid = ValidUtf8(text);
    pango_layout_set_text(layout.get(), valid.data(), static_cast<int>(valid.size()));

    cairo_set_source_rgb(cr.get(), 0, 0, 0);
    cairo_move_to(cr.get(), topLeft.x, topLeft.y);
    pango_cairo_show_layout(cr.get(), layout.get());
    cairo_surface_flush(surface.get());

    PangoRectangle ink{};
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
    const Rect touched = Union(ink, logical).Translated(topLeft.x - 1, topLeft.y - 1);
    ClearUnusedBytes(target, Rect{touched.x, touched.y, touched.width + 2, touched.height + 2});
}

gboolean GtkUiHost::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self)
{
    auto& host = *static_cast<GtkUiHost*>(self);
    ++host.m_InputCount;
    int key = VirtualKeyOf(event->keyval);
    if (key == 0) {
        // A shifted symbol ("!") carries the code of its key ('1'), as on Windows.
        guint base = 0;
        if (gdk_keymap_translate_keyboard_state(gdk_keymap_get_for_display(gdk_display_get_default()),
                                                event->hardware_keycode, GdkModifierType(0), event->group, &base,
                                                nullptr, nullptr, nullptr))
            key = VirtualKeyOf(base);
    }
    if (key == 0) key = kOtherKey;
    const ShiftState shift = ShiftStateOf(event->keyval, event->state);
    host.Deliver([&](UiEvents& events) { events.KeyDown(key, shift); });
    // Alt+F4 asks for a close as a window manager would; there may be none to do it.
    constexpr int kF4 = vk::F1 + 3;
    if (key == kF4 && shift.alt && !shift.ctrl && !shift.shift) host.RequestClose();
    return TRUE;
}

gboolean GtkUiHost::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self)
{
    auto& host = *static_cast<GtkUiHost*>(self);
    ++host.m_InputCount;
    // A double click arrives as a second press as well; its extra event is not a click.
    if (event->type != GDK_BUTTON_PRESS) return TRUE;
    const auto button = MouseButtonOf(event->button);
    if (!button) return TRUE;
    const Point at{static_cast<int>(event->x), static_cast<int>(event->y)};
    host.Deliver([&](UiEvents& events) { events.MouseDown(*button, at); });
    return TRUE;
}

gboolean GtkUiHost::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self)
{
    auto& host = *static_cast<GtkUiHost*>(self);
    const Point at{static_cast<int>(event->x), static_cast<int>(event->y)};
    host.Deliver([&](UiEvents& events) { events.MouseMove(at); });
    return TRUE;
}

gboolean GtkUiHost::OnDraw(GtkWidget*, cairo_t* cr, gpointer self)
{
    auto& host = *static_cast<GtkUiHost*>(self);
    ++host.m_InputCount;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    if (host.m_LastFrameSurface) CopyFrameArea(cr, host.m_LastFrameSurface.get(), host.LastFrame().Bounds());
    host.QueuePaint();
    return TRUE;
}

gboolean GtkUiHost::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self)
{
    static_cast<GtkUiHost*>(self)->RequestClose();
    return TRUE;
}

void GtkUiHost::OnDestroy(GtkWidget*, gpointer self) { static_cast<GtkUiHost*>(self)->NativeWindowDestroyed(); }

std::unique_ptr<UiHost> CreateUiHost() { return std::make_unique<GtkUiHost>(); }
