#pragma once
// The UI host: what a form needs from the OS's window system. A form is handed a host (never a
// singleton); the program gets the OS's own from CreateUiHost(), tests a scripted one.
//
// Everything but Post() and WorkerMessageBox() belongs to the UI thread.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "platform/media_player.h"
#include "platform/message_box.h"

// Key codes carry the Win32 virtual-key numbers on every OS; keypad arrows arrive as arrows.
namespace vk {
constexpr int Back = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12; // Alt
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int F1 = 0x70;
} // namespace vk

// The modifier keys held when a key went down.
struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

// Back and Forward are the fourth and fifth buttons (X buttons 1 and 2 on Windows).
enum class MouseButton { Left, Right, Middle, Back, Forward };

// The flags of a media player's completion notification, with the MCI numbers.
namespace mcinotify {
constexpr unsigned Successful = 0x1;
constexpr unsigned Superseded = 0x2;
constexpr unsigned Aborted = 0x4;
constexpr unsigned Failure = 0x8;
} // namespace mcinotify

// A form's side of the window: the host turns native events into these calls, on the UI thread.
class UiEvents {
public:
    virtual void KeyDown(int key, ShiftState shift) = 0;
    virtual void MouseDown(MouseButton button, Point at) = 0;
    virtual void MouseMove(Point at) = 0;
    virtual void Paint() = 0;
    // A close was asked for; true lets it happen. Closed() then runs and the window is destroyed.
    virtual bool CloseQuery() = 0;
    virtual void Closed() = 0;
    virtual void TimerTick(int timerId) = 0;
    virtual void MediaNotify(unsigned flags) = 0;
    // The window has taken a new size, which ScreenSize() now gives. Only a window that is not
    // the program's own (a screen-saver daemon's) changes size under the show.
    virtual void Resized() {}

protected:
    UiEvents() = default;
    UiEvents(const UiEvents&) = default;
    UiEvents& operator=(const UiEvents&) = default;
    ~UiEvents() = default;
};

// A font for DrawText: a face name and a size in points at the screen's logical resolution.
struct TextFont {
    std::string face;
    int points = 10;
};

class UiHost {
public:
    virtual ~UiHost() = default;

    // The main window: borderless, black, covering the primary screen, kept above other windows
    // when topMost. Its events go to events, which must outlive the window. One per host.
    virtual void OpenFullScreenWindow(UiEvents& events, bool topMost) = 0;
    // The primary screen's size in pixels.
    virtual Size ScreenSize() const = 0;
    // How many times a second the primary screen shows a new picture; 60 where the OS will not say.
    virtual double RefreshRate() const { return kDefaultRefreshRate; }
    // A steady clock in milliseconds, for pacing animations; its start is arbitrary.
    virtual std::int64_t MonotonicMs() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    static constexpr double kDefaultRefreshRate = 60.0;
    // The main window as an owner for dialogs; null without one.
    virtual NativeWindow Window() const = 0;
    // Asks for a close as the platform does: CloseQuery, then, if allowed, Closed and the
    // window's destruction. Inside a wait the caller sees the close once the wait returns.
    virtual void RequestClose() = 0;

    // Dispatches events until the main window is destroyed; returns at once without one.
    virtual void Run() = 0;
    // Waits at most maxMs until a key, mouse-button or paint event is waiting, then dispatches
    // everything waiting, timer ticks included. Handlers may close the window inside it.
    virtual void WaitAndDispatch(int maxMs) = 0;
    // Waits and dispatches as WaitAndDispatch does until done() holds, while work goes on on
    // another thread; done is asked on the UI thread after every wait, which lasts at most
    // kWorkPollMs, so that the end of the work is seen soon after it comes.
    virtual void DispatchUntil(const std::function<bool()>& done)
    {
        while (!done()) WaitAndDispatch(kWorkPollMs);
    }
    static constexpr int kWorkPollMs = 1;

    // Starts a timer, or restarts it: its next tick comes a full interval from now, then one
    // every interval. Ticks reach UiEvents::TimerTick. UiTimer gives the form's semantics.
    virtual void StartTimer(int timerId, int intervalMs) = 0;
    virtual void StopTimer(int timerId) = 0;

    // Runs task on the UI thread, from any thread. Tasks that arrive after the loop has ended
    // are dropped.
    virtual void Post(std::function<void()> task) = 0;
    // A modal message box asked for by a worker thread, which waits for the answer. Without a
    // loop to show it (the window is gone) the box's cancelling answer comes back at once.
    virtual int WorkerMessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;

    // A music player whose completion notifications reach the window through this host; none
    // from a host that has no sound to offer.
    virtual std::unique_ptr<MediaPlayer> CreateMediaPlayer() { return nullptr; }
    // Where a media player sends its completion notification: on Windows the message-only
    // window that MCI calls back (as an HWND); null on Linux, where the player's bus watch runs
    // on the UI thread's main context and calls DeliverMediaNotify itself.
    virtual NativeWindow MediaNotifyWindow() const = 0;
    // Hands a completion notification to the window's MediaNotify, on the UI thread.
    virtual void DeliverMediaNotify(unsigned flags) = 0;

    // Copies frame (the screen's size) to the window: all of it, or only the changed rectangle.
    virtual void Present(const Bitmap& frame) = 0;
    virtual void Present(const Bitmap& frame, const Rect& changed) = 0;
    // Draws text in black on a transparent background, the top-left of the text at topLeft.
    virtual void DrawText(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text) = 0;

protected:
    UiHost() = default;
    UiHost(const UiHost&) = delete;
    UiHost& operator=(const UiHost&) = delete;
};

// The OS's host. Windows: one window class and a message-only window; Linux: GTK, opened on
// first need so that modes without a window need no display.
std::unique_ptr<UiHost> CreateUiHost();

// A form's timer: enabling an enabled timer changes nothing; disabling cancels the pending
// tick; a new interval restarts an enabled timer from now; the same interval changes nothing.
class UiTimer {
public:
    UiTimer(UiHost& host, int timerId, int intervalMs, bool enabled);
    UiTimer(const UiTimer&) = delete;
    UiTimer& operator=(const UiTimer&) = delete;
    ~UiTimer();

    bool Enabled() const { return m_Enabled; }
    int Interval() const { return m_Interval; }
    int Id() const { return m_Id; }
    void SetEnabled(bool enabled);
    void SetInterval(int intervalMs);

private:
    UiHost& m_Host;
    int m_Id;
    int m_Interval;
    bool m_Enabled;
};
