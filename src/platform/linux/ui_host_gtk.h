#pragma once
// The Linux UI host: GTK 3 for the window, cairo and pango for pixels and text, the default GLib
// main context for timers, posted tasks and media notifications. GTK opens on first need, so
// everything but the window works without a display.
#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "platform/linux/ui_thread_channel.h"
#include "platform/ui_host.h"

class GtkUiHost final : public UiHost {
public:
    GtkUiHost();
    ~GtkUiHost() override;

    // Where timers, posted notifications and media notifications go when no window is open.
    void ConnectEvents(UiEvents& events) { m_Events = &events; }

    void OpenFullScreenWindow(UiEvents& events, bool topMost) override;
    Size ScreenSize() const override;
    NativeWindow Window() const override { return m_Window; }
    void RequestClose() override;

    void Run() override;
    void WaitAndDispatch(int maxMs) override;

    void StartTimer(int timerId, int intervalMs) override;
    void StopTimer(int timerId) override;

    void Post(std::function<void()> task) override;
    int WorkerMessageBox(const std::string& text, const std::string& caption, unsigned style) override;

    // A GStreamer playbin whose bus is watched on the default main context.
    std::unique_ptr<MediaPlayer> CreateMediaPlayer() override;
    NativeWindow MediaNotifyWindow() const override { return nullptr; }
    void DeliverMediaNotify(unsigned flags) override;

    void Present(const Bitmap& frame) override;
    void Present(const Bitmap& frame, const Rect& changed) override;
    void DrawText(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text) override;

private:
    struct SourceDeleter {
        void operator()(GSource* source) const;
    };
    using SourcePtr = std::unique_ptr<GSource, SourceDeleter>;
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const;
    };
    using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
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

    void OpenWorkerBox(const std::string& text, const std::string& caption, unsigned style,
                       UiThreadChannel::Reply reply);
    void DismissWorkerBoxes();

    void CloseWindow();
    void LoopEnded();
    void DrawFrameArea(const Rect& area);
    void PollOnce(GMainContext* context, int maxMs);
    bool OnUiThread() const { return std::this_thread::get_id() == m_UiThread; }

    std::thread::id m_UiThread;
    std::shared_ptr<UiThreadChannel> m_Channel;
    UiEvents* m_Events = nullptr;
    GtkWidget* m_Window = nullptr;
    bool m_LoopEnded = false;
    bool m_Closing = false;
    bool m_PaintQueued = false;
    // Keys, mouse buttons and paints seen: the input that ends a wait early.
    unsigned m_InputCount = 0;
    Size m_Screen;
    std::map<int, SourcePtr> m_Timers;
    std::vector<GMainLoop*> m_Loops;
    std::vector<GPollFD> m_PollFds;
    Bitmap m_LastFrame;
    SurfacePtr m_LastFrameSurface;
    std::vector<std::unique_ptr<WorkerBox>> m_WorkerBoxes;
};
