// The about box: a fixed dialog-framed window at its own screen position, its panel drawn as a
// bevel behind the title and version labels, and two link labels that report the mouse
// entering and leaving them.
#include "platform/win32/about_box_view_win32.h"

#include <algorithm>
#include <array>
#include <string>

#include "gfx/error.h"
#include "platform/win32/dialog_controls.h"

namespace {

constexpr const char* kClassName = "TovelinAboutBox";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

int LinkId(AboutLink link) { return ControlId(AboutControls(), AboutLinkLabel(link)); }

struct LinkState {
    COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
    PointerShape pointer = PointerShape::Default;
    bool mouseInside = false;
};

class Win32AboutBox final : public AboutBoxView {
public:
    explicit Win32AboutBox(HWND owner)
        : m_Owner(owner), m_Fonts(kAboutWindow.fontFace, kAboutWindow.fontHeight)
    {
        const WindowClass& windowClass = DialogWindowClass(kClassName, &ViewWindowProcedure<Win32AboutBox>);
        const Size frame = FrameSizeFor(kAboutWindow.client, kStyle, kExStyle, false);
        m_Window = OwnedWindow(CreateWindowExA(kExStyle, windowClass.Name(), kAboutWindow.caption, kStyle,
                                               kAboutScreenPosition.x, kAboutScreenPosition.y, frame.width, frame.height, owner, nullptr,
                                               GetModuleHandleA(nullptr), this));
        if (!m_Window) throw Error("Cannot create the about box (error " + std::to_string(GetLastError()) + ")");
        CreateControls();
    }

    ~Win32AboutBox() override
    {
        if (m_Running) EnableWindow(m_Owner, TRUE);
        m_Window.Reset();
    }

    void SetEvents(AboutBoxEvents& events) override { m_Events = &events; }

    void SetVersionText(const std::string& text) override
    {
        SetLabelText(Control(ControlId(AboutControls(), AboutVersionLabel())), text);
    }

    std::string VersionText() const override
    {
        const HWND label = Control(ControlId(AboutControls(), AboutVersionLabel()));
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(label)) + 1, '\0');
        text.resize(static_cast<std::size_t>(GetWindowTextA(label, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    void SetLinkTexts(const std::string& web, const std::string& mail) override
    {
        SetLabelText(Control(LinkId(AboutLink::Web)), web);
        SetLabelText(Control(LinkId(AboutLink::Mail)), mail);
    }

    void SetLinkLook(AboutLink link, Rgb colour, PointerShape pointer) override
    {
        LinkState& state = Link(link);
        state.colour = RGB(colour.red, colour.green, colour.blue);
        state.pointer = pointer;
        InvalidateRect(Control(LinkId(link)), nullptr, TRUE);
        if (state.mouseInside) SetCursor(Cursor(pointer));
    }

    void ShowModal() override
    {
        if (!m_Window || m_Running) return;
        m_Running = true;
        m_Closing = false;
        if (m_Owner) EnableWindow(m_Owner, FALSE);
        ShowWindow(m_Window.Get(), SW_SHOWNORMAL);
        UpdateWindow(m_Window.Get());
        RunDialogLoop(m_Window.Get(), m_Closing);
        // The owner comes back before the box goes, so that the system activates the owner
        // rather than some other program's window.
        if (m_Owner) EnableWindow(m_Owner, TRUE);
        m_Running = false;
        m_Window.Reset();
    }

    void Close() override
    {
        if (m_Running)
            m_Closing = true;
        else if (m_Window)
            ShowWindow(m_Window.Get(), SW_HIDE);
    }

private:
    void CreateControls()
    {
        CreateTableControls(m_Window.Get(), AboutControls(), m_Fonts, m_Hints);
        for (const AboutLink link : {AboutLink::Web, AboutLink::Mail})
            SetWindowSubclass(Control(LinkId(link)), &LinkProcedure, static_cast<UINT_PTR>(LinkId(link)),
                              reinterpret_cast<DWORD_PTR>(this));
    }

    LinkState& Link(AboutLink link) { return m_Links[link == AboutLink::Web ? 0 : 1]; }

    static HCURSOR Cursor(PointerShape pointer)
    {
        return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(pointer == PointerShape::Hand ? IDC_HAND : IDC_ARROW));
    }

    // A label grows to a longer text rather than cut a version or an address off.
    static void SetLabelText(HWND label, const std::string& text)
    {
        SetWindowTextA(label, text.c_str());
        SIZE extent{};
        {
            const WindowDc dc(label);
            const ObjectSelection font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
            GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        }
        RECT place{};
        GetWindowRect(label, &place);
        if (extent.cx <= place.right - place.left) return;
        SetWindowPos(label, nullptr, 0, 0, extent.cx, place.bottom - place.top, SWP_NOMOVE | SWP_NOZORDER);
    }

    HWND Control(int id) const { return GetDlgItem(m_Window.Get(), id); }

    // The link labels' own messages: the mouse entering and leaving them, and their pointer.
    LRESULT LinkMessage(HWND label, AboutLink link, UINT message, WPARAM wParam, LPARAM lParam)
    {
        LinkState& state = Link(link);
        switch (message) {
        case WM_MOUSEMOVE:
            if (!state.mouseInside) {
                TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, label, 0};
                TrackMouseEvent(&track);
                state.mouseInside = true;
                if (m_Events) Guarded([&] { m_Events->labelWebMouseEnter(link); });
            }
            break;
        case WM_MOUSELEAVE:
            state.mouseInside = false;
            if (m_Events) Guarded([&] { m_Events->labelWebMouseLeave(link); });
            return 0;
        case WM_SETCURSOR:
            SetCursor(Cursor(state.pointer));
            return TRUE;
        case WM_NCDESTROY:
            RemoveWindowSubclass(label, &LinkProcedure, static_cast<UINT_PTR>(LinkId(link)));
            break;
        default: break;
        }
        return DefSubclassProc(label, message, wParam, lParam);
    }

    static LRESULT CALLBACK LinkProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data)
    {
        auto* box = reinterpret_cast<Win32AboutBox*>(data);
        const AboutLink link = static_cast<int>(id) == LinkId(AboutLink::Web) ? AboutLink::Web : AboutLink::Mail;
        return box->LinkMessage(label, link, message, wParam, lParam);
    }

    void Paint()
    {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(m_Window.Get(), &paint);
        // The panel: a raised outer edge and the lowered inner bevel inside it.
        const Rect place = ControlOfKind(AboutControls(), ControlKind::Panel).place;
        RECT panel{place.x, place.y, place.Right(), place.Bottom()};
        DrawEdge(dc, &panel, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
        DrawEdge(dc, &panel, BDR_SUNKENINNER, BF_RECT);
        EndPaint(m_Window.Get(), &paint);
    }

public:
    // For the window procedure.
    bool HasWindow() const { return static_cast<bool>(m_Window); }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        const HWND window = m_Window.Get();
        switch (message) {
        case WM_COMMAND:
            ForwardCommand(AboutControls(), m_Events, LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC: {
            const auto label = reinterpret_cast<HWND>(lParam);
            const int id = GetDlgCtrlID(label);
            if (id == LinkId(AboutLink::Web) || id == LinkId(AboutLink::Mail)) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, Link(id == LinkId(AboutLink::Web) ? AboutLink::Web : AboutLink::Mail).colour);
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        }
        case WM_PAINT:
            Paint();
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            m_Closing = true;
            break;
        case WM_NCDESTROY:
            m_Window.Release();
            break;
        default: break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

private:
    HWND m_Owner;
    DialogFonts m_Fonts;
    DialogHints m_Hints;
    std::array<LinkState, 2> m_Links{};
    OwnedWindow m_Window;
    AboutBoxEvents* m_Events = nullptr;
    bool m_Running = false;
    bool m_Closing = false;
};

} // namespace

std::unique_ptr<AboutBoxView> CreateWin32AboutBox(HWND owner) { return std::make_unique<Win32AboutBox>(owner); }
