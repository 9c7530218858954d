// The Windows UI host: one window class, a full-screen popup for the form, and a message-only
// window that owns the timers, the posted tasks and the media player's notifications.
#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "gfx/error.h"
#include "platform/program_file.h"
#include "platform/ui_host_core.h"
#include "platform/win32/gdi_objects.h"
#include "platform/win32/media_player_win32.h"
#include "platform/win32/mouse_buttons.h"
#include "platform/win32/native_window.h"
#include "platform/win32/text_canvas.h"
#include "platform/win32/windows_header.h"

namespace {

constexpr const char* kClassName = "TovelinUiHostWindow";
// From the multimedia headers, which WIN32_LEAN_AND_MEAN leaves out.
constexpr UINT kMciNotifyMessage = 0x3B9;
constexpr UINT kTaskMessage = WM_APP + 1;
// The events that end a nested wait early: keys, mouse buttons and paints.
constexpr DWORD kWaitWakeMask = QS_KEY | QS_MOUSEBUTTON | QS_PAINT;
static_assert(kWaitWakeMask == 37);

// The extra window bytes say which of the host's two windows a message is for.
enum class WindowRole : LONG_PTR { Service = 0, Main = 1 };

struct Creation {
    class Win32UiHost* host;
    WindowRole role;
};

// A box that a worker has up, or is about to put up, while the show runs.
struct WorkerBox {
    class Win32UiHost* host;
    unsigned style;
    HWND window = nullptr; // known from its creation on
};

// The box that the current thread is putting up, for the creation hook.
thread_local WorkerBox* t_WorkerBox = nullptr;

LRESULT CALLBACK WorkerBoxHook(int code, WPARAM wParam, LPARAM lParam);

// Watches the current thread's window creation while it shows a worker's box.
class WorkerBoxWatch {
public:
    explicit WorkerBoxWatch(WorkerBox& box)
        : m_Hook(SetWindowsHookExA(WH_CBT, WorkerBoxHook, nullptr, GetCurrentThreadId()))
    {
        t_WorkerBox = &box;
    }
    WorkerBoxWatch(const WorkerBoxWatch&) = delete;
    WorkerBoxWatch& operator=(const WorkerBoxWatch&) = delete;
    ~WorkerBoxWatch()
    {
        t_WorkerBox = nullptr;
        if (m_Hook) UnhookWindowsHookEx(m_Hook);
    }

private:
    HHOOK m_Hook;
};

bool IsDialogWindow(HWND window)
{
    char name[16] = "";
    return GetClassNameA(window, name, sizeof name) > 0 && std::string_view(name) == "#32770";
}

std::string WithErrorCode(const std::string& message)
{
    return message + " (error " + std::to_string(GetLastError()) + ")";
}

Point PointOf(LPARAM lParam)
{
    return Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool KeyHeld(int key) { return GetKeyState(key) < 0; }

// Copies a rectangle of frame to the same place on a device.
void CopyToDevice(HDC dc, const Bitmap& frame, const Rect& changed)
{
    const Rect area = changed.Intersected(frame.Bounds());
    if (area.IsEmpty()) return;
    // The rows of the area as a DIB of their own, so that the source's first row is row 0
    // whatever the device's view of top-down DIBs.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = frame.Width();
    info.bmiHeader.biHeight = -area.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, area.x, area.y, static_cast<DWORD>(area.width), static_cast<DWORD>(area.height), area.x, 0,
                      0, static_cast<UINT>(area.height), frame.Row(area.y), &info, DIB_RGB_COLORS);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The class of both windows, registered while any host lives.
std::shared_ptr<const WindowClass> SharedWindowClass()
{
    static std::mutex guard;
    static std::weak_ptr<const WindowClass> shared;
    const std::lock_guard lock(guard);
    if (auto existing = shared.lock()) return existing;
    WNDCLASSEXA description{};
    description.cbSize = sizeof(description);
    description.lpfnWndProc = WindowProcedure;
    description.cbWndExtra = sizeof(LONG_PTR);
    description.hInstance = GetModuleHandleA(nullptr);
    description.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    description.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    description.lpszClassName = kClassName;
    auto created = std::make_shared<const WindowClass>(description);
    if (!*created) throw Error(WithErrorCode("Cannot register the window class"));
    shared = created;
    return created;
}

class Win32UiHost final : public UiHostCore {
public:
    Win32UiHost() : m_Class(SharedWindowClass())
    {
        Creation creation{this, WindowRole::Service};
        m_ServiceWindow = OwnedWindow(CreateWindowExA(0, m_Class->Name(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                      GetModuleHandleA(nullptr), &creation));
        if (!m_ServiceWindow) throw Error(WithErrorCode("Cannot create the message window"));
    }

    ~Win32UiHost() override
    {
        // The window goes without events and without ending anybody's loop.
        ShutDown();
        m_Window.Reset();
        m_ServiceWindow.Reset();
    }

    void OpenFullScreenWindow(UiEvents& events, bool topMost) override
    {
        if (WindowIsOpen() || WindowHasGone()) throw Error("The window is open already");
        const Size screen = ScreenSize();
        Creation creation{this, WindowRole::Main};
        const HWND window = CreateWindowExA(0, m_Class->Name(), ApplicationTitle().c_str(), WS_POPUP, 0, 0,
                                            screen.width, screen.height, nullptr, nullptr, GetModuleHandleA(nullptr),
                                            &creation);
        if (!window) throw Error(WithErrorCode("Cannot open the window"));
        m_Window = OwnedWindow(window);
        WindowOpened(events);
        if (topMost) SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        SetFocus(window);
    }

    Size ScreenSize() const override { return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

    double RefreshRate() const override
    {
        if (m_RefreshRate > 0) return m_RefreshRate;
        m_RefreshRate = kDefaultRefreshRate;
        DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        // 0 and 1 stand for the hardware's default rate, which the system does not tell.
        if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1)
            m_RefreshRate = static_cast<double>(mode.dmDisplayFrequency);
        return m_RefreshRate;
    }

    NativeWindow Window() const override { return m_Window.Get(); }

    void Run() override
    {
        if (WindowHasGone()) {
            // Destroyed inside an earlier wait, which left the quit message for this loop.
            MSG quit;
            PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
            return;
        }
        if (!WindowIsOpen()) return;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    void WaitAndDispatch(int maxMs) override
    {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(maxMs > 0 ? maxMs : 0), kWaitWakeMask);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The window went inside the wait: the outer loop must still see its end.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    std::unique_ptr<MediaPlayer> CreateMediaPlayer() override { return CreateMciMediaPlayer(m_ServiceWindow.Get()); }

    NativeWindow MediaNotifyWindow() const override { return m_ServiceWindow.Get(); }

    void DrawText(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text) override
    {
        if (!m_TextCanvas) m_TextCanvas = std::make_unique<TextCanvas>();
        m_TextCanvas->Draw(target, font, topLeft, text);
    }

    LRESULT Message(HWND window, WindowRole role, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return role == WindowRole::Main ? MainMessage(window, message, wParam, lParam)
                                        : ServiceMessage(window, message, wParam, lParam);
    }

private:
    friend LRESULT CALLBACK WorkerBoxHook(int code, WPARAM wParam, LPARAM lParam);

    void DestroyNativeWindow() override { m_Window.Reset(); }

    bool WakeForTasks() override { return PostMessageA(m_ServiceWindow.Get(), kTaskMessage, 0, 0) != 0; }

    void StartNativeTimer(int timerId, int intervalMs) override
    {
        // SetTimer on an id in use replaces that timer: its next tick is a full interval away.
        const UINT interval = static_cast<UINT>(intervalMs > 0 ? intervalMs : 1);
        if (!SetTimer(m_ServiceWindow.Get(), static_cast<UINT_PTR>(timerId), interval, nullptr)) {
            throw Error(WithErrorCode("Cannot start a timer"));
        }
    }

    void StopNativeTimer(int timerId) override { KillTimer(m_ServiceWindow.Get(), static_cast<UINT_PTR>(timerId)); }

    std::optional<int> ShowWorkerBox(const std::string& text, const std::string& caption, unsigned style) override
    {
        WorkerBox box{this, style};
        if (!WhileBoxesShown([&] { m_WorkerBoxes.push_back(&box); })) return std::nullopt;
        // No owner: the box would disable the show's window, whose keys and clicks must still end
        // the show. Top-most and in the foreground, so that a top-most show cannot hide it.
        int answer = 0;
        {
            const WorkerBoxWatch watch(box);
            answer = MessageBoxA(nullptr, text.c_str(), caption.c_str(), style | MB_TOPMOST | MB_SETFOREGROUND);
        }
        {
            const auto lock = LockBoxes();
            std::erase(m_WorkerBoxes, &box);
        }
        // No box at all (the show closed before it came up) also cancels.
        if (answer == 0) return std::nullopt;
        return answer;
    }

    void CancelWorkerBoxes() override
    {
        const auto lock = LockBoxes();
        for (const WorkerBox* box : m_WorkerBoxes) {
            if (box->window)
                PostMessageA(box->window, WM_COMMAND, MAKEWPARAM(CancellingAnswer(box->style), BN_CLICKED), 0);
        }
    }

    void ShowFrame(const Rect& area) override
    {
        if (!m_Window || area.IsEmpty()) return;
        const WindowDc dc(m_Window.Get());
        if (dc) CopyToDevice(dc.Get(), LastFrame(), area);
    }

    LRESULT MainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_ERASEBKGND: return 0; // everything on screen comes from Present
        case WM_PAINT: Paint(window); return 0;
        case WM_KEYDOWN: KeyDown(static_cast<int>(wParam)); return 0;
        case WM_SYSKEYDOWN:
            KeyDown(static_cast<int>(wParam));
            // Alt+F4 goes on to become a close request; Alt and F10 never start a menu loop.
            if (wParam == VK_F4) break;
            return 0;
        case WM_SYSKEYUP:
        case WM_SYSCHAR: return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            if (const auto button = ButtonDownOf(message, wParam))
                Deliver([&](UiEvents& events) { events.MouseDown(*button, PointOf(lParam)); });
            // An X button answered TRUE is not also turned into a back or forward command.
            return message == WM_XBUTTONDOWN ? TRUE : 0;
        case WM_MOUSEMOVE: Deliver([&](UiEvents& events) { events.MouseMove(PointOf(lParam)); }); return 0;
        case WM_CLOSE: RequestClose(); return 0;
        case WM_DESTROY:
            if (window == m_Window.Get()) {
                m_Window.Release();
                WindowGone();
                if (!ShuttingDown()) PostQuitMessage(0);
            }
            return 0;
        default: break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    LRESULT ServiceMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_TIMER: TimerTicked(static_cast<int>(wParam)); return 0;
        case kTaskMessage: RunPostedTasks(); return 0;
        case kMciNotifyMessage: DeliverMediaNotify(static_cast<unsigned>(wParam)); return 0;
        default: break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    void KeyDown(int key)
    {
        Deliver([&](UiEvents& events) {
            // A modifier pressed alone counts as held by its own key-down.
            const ShiftState shift{KeyHeld(VK_SHIFT) || key == VK_SHIFT, KeyHeld(VK_CONTROL) || key == VK_CONTROL,
                                   KeyHeld(VK_MENU) || key == VK_MENU};
            events.KeyDown(key, shift);
        });
    }

    // The OS's paint ends before the form's Paint runs, which may wait and present many times.
    void Paint(HWND window)
    {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(window, &paint);
        if (dc) {
            const Rect dirty{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
                             paint.rcPaint.bottom - paint.rcPaint.top};
            if (LastFrame().IsEmpty()) {
                FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            } else {
                CopyToDevice(dc, LastFrame(), dirty);
            }
        }
        EndPaint(window, &paint);
        Deliver([](UiEvents& events) { events.Paint(); });
    }

    std::shared_ptr<const WindowClass> m_Class;
    OwnedWindow m_ServiceWindow;
    OwnedWindow m_Window;
    mutable double m_RefreshRate = 0; // asked for once
    std::unique_ptr<TextCanvas> m_TextCanvas;
    std::vector<WorkerBox*> m_WorkerBoxes; // under LockBoxes()
};

LRESULT CALLBACK WorkerBoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    WorkerBox* box = t_WorkerBox;
    const auto window = reinterpret_cast<HWND>(wParam);
    if (box && code == HCBT_CREATEWND && IsDialogWindow(window)) {
        // Refused once the show has closed: nobody would answer it.
        if (!box->host->WhileBoxesShown([&] { box->window = window; })) return 1;
    } else if (box && code == HCBT_ACTIVATE && window == box->window) {
        // Not every system honours MB_TOPMOST; a top-most show would cover the box.
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (box && code == HCBT_DESTROYWND && window == box->window) {
        const auto lock = box->host->LockBoxes();
        box->window = nullptr;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* start = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const auto* creation = static_cast<const Creation*>(start->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->host));
        SetWindowLongPtrA(window, 0, static_cast<LONG_PTR>(creation->role));
    }
    auto* host = reinterpret_cast<Win32UiHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!host) return DefWindowProcA(window, message, wParam, lParam);
    return host->Message(window, static_cast<WindowRole>(GetWindowLongPtrA(window, 0)), message, wParam, lParam);
}

} // namespace

std::unique_ptr<UiHost> CreateUiHost() { return std::make_unique<Win32UiHost>(); }
