#pragma once
// The Linux UI host: GTK 3 for the window, cairo and pango for pixels and text, the default GLib
// main context for timers, posted tasks and media notifications. GTK opens on first need, so
// everything but the window works without a display.
#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/linux/foreign_x11_window.h"
#include "platform/linux/glib_owners.h"
#include "platform/linux/ui_thread_channel.h"
#include "platform/ui_host_core.h"

// Events reach the form connected with ConnectEvents even without a window: timers, posted
// notifications and media notifications.
//
// Over another program's window, the main window is that one: OpenFullScreenWindow attaches to
// it, the show follows its size and ends with it or with a termination signal.
class GtkUiHost final : public UiHostCore {
public:
    GtkUiHost();
    // Opens the display at once; throws Error when it or the window is missing.
    explicit GtkUiHost(const ForeignWindowTarget& target);
    ~GtkUiHost() override;

    void OpenFullScreenWindow(UiEvents& events, bool topMost) override;
    Size ScreenSize() const override;
    double RefreshRate() const override;
    NativeWindow Window() const override { return m_Window; }

    void Run() override;
    void WaitAndDispatch(int maxMs) override;

    // A GStreamer playbin whose bus is watched on the default main context.
    std::unique_ptr<MediaPlayer> CreateMediaPlayer() override;
    NativeWindow MediaNotifyWindow() const override { return nullptr; }

    void DrawText(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text) override;

private:
    using SurfacePtr = Owned<cairo_surface_t, cairo_surface_destroy>;
    // A box that a worker waits for, up on the screen beside the show.
    struct WorkerBox {
        GtkUiHost* host;
        GtkWidget* dialog;
        unsigned style;
        UiThreadChannel::Reply reply;
    };

    static gboolean OnTimer(gpointer self);
    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
    static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
    static gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self);
    static void OnDestroy(GtkWidget*, gpointer self);
    static void OnWorkerBoxResponse(GtkDialog*, gint response, gpointer box);
    static void OnWorkerBoxDestroy(GtkWidget*, gpointer box);

    void DestroyNativeWindow() override;
    // The main window has gone: the loops end.
    void NativeWindowDestroyed();
    void AttachForeignWindow(UiEvents& events);
    // A paint for the form after GTK's or the X server's paint phase, once per batch.
    void QueuePaint();
    void OnTerminationSignal();
    bool WakeForTasks() override { return m_Channel->Post([this] { RunPostedTasks(); }); }
    void StartNativeTimer(int timerId, int intervalMs) override;
    void StopNativeTimer(int timerId) override { m_Timers.erase(timerId); }
    std::optional<int> ShowWorkerBox(const std::string& text, const std::string& caption, unsigned style) override;
    void CancelWorkerBoxes() override;
    void ShowFrame(const Rect& area) override;

    void OpenWorkerBox(const std::string& text, const std::string& caption, unsigned style,
                       UiThreadChannel::Reply reply);
    void PollOnce(GMainContext* context, int maxMs);

    std::shared_ptr<UiThreadChannel> m_Channel;
    GtkWidget* m_Window = nullptr;
    bool m_PaintQueued = false;
    // Keys, mouse buttons and paints seen: the input that ends a wait early.
    unsigned m_InputCount = 0;
    Size m_Screen;
    mutable double m_RefreshRate = 0; // asked for once
    std::map<int, SourcePtr> m_Timers;
    std::vector<GMainLoop*> m_Loops;
    std::vector<GPollFD> m_PollFds;
    SurfacePtr m_LastFrameSurface; // over LastFrame()'s pixels
    SurfacePtr m_WindowSurface; // the window as cairo draws into it on X11
    std::vector<std::unique_ptr<WorkerBox>> m_WorkerBoxes;
    // Another program's window as the main window, and the signals that end the show in it.
    std::unique_ptr<ForeignX11Window> m_Foreign;
    std::unique_ptr<TerminationSignals> m_TerminationSignals;
    bool m_TerminationPending = false;
};
