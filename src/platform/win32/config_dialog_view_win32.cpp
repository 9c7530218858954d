// The configuration dialog with Win32 controls: a fixed top-level window with a menu bar, the
// controls created in their tab order, hints as tool tips, and IsDialogMessage for the keys.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "gfx/error.h"
#include "platform/config_dialog_view.h"
#include "platform/win32/about_box_view_win32.h"
#include "platform/win32/dialog_controls.h"
#include "platform/win32/shell_folders.h"

namespace {

constexpr const char* kClassName = "TovelinConfigDialog";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

const ConfigControl& OfKind(ControlKind kind) { return ControlOfKind(ConfigControls(), kind); }

const ConfigControl& CheckBoxControl(ConfigCheckBox box)
{
    for (const ConfigControl& control : ConfigControls())
        if (control.kind == ControlKind::CheckBox && control.checkBox == box) return control;
    throw Error("The dialog has no such check box");
}

class Win32ConfigDialogView final : public ConfigDialogView {
public:
    Win32ConfigDialogView()
        : m_Fonts(kConfigWindow.fontFace, kConfigWindow.fontHeight),
          m_EditBrush(GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT))
    {
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        const WindowClass& windowClass = DialogWindowClass(kClassName, &ViewWindowProcedure<Win32ConfigDialogView>);
        const Size frame = FrameSizeFor(kConfigWindow.client, kStyle, 0, true);
        const HMENU menuBar = CreateMenuBar();
        m_Window = OwnedWindow(CreateWindowExA(0, windowClass.Name(), kConfigWindow.caption, kStyle, CW_USEDEFAULT,
                                               CW_USEDEFAULT, frame.width, frame.height, nullptr, menuBar,
                                               GetModuleHandleA(nullptr), this));
        if (!m_Window) {
            const DWORD code = GetLastError();
            DestroyMenu(menuBar);
            throw Error("Cannot create the configuration dialog (error " + std::to_string(code) + ")");
        }
        CreateControls();
    }

    ~Win32ConfigDialogView() override { m_Window.Reset(); }

    void SetEvents(ConfigDialogEvents& events) override { m_Events = &events; }

    void SetPictures(const Bitmap& banner, const Bitmap& saveButton, const Bitmap& closeButton) override
    {
        // Prepared at the picture's size; what it leaves transparent shows the dialog's colour.
        m_Banner = CreateDibSection(OverBackground(banner, SystemPixel(COLOR_BTNFACE)));
        m_BannerSize = {banner.Width(), banner.Height()};
        InvalidateRect(Control(OfKind(ControlKind::Picture)), nullptr, TRUE);
        for (const ConfigControl& control : ConfigControls()) {
            if (control.picture == DialogPicture::SaveButton) SetButtonPicture(Control(control), saveButton, m_SaveImage);
            if (control.picture == DialogPicture::CloseButton)
                SetButtonPicture(Control(control), closeButton, m_CloseImage);
        }
    }

    void ShowAndRun() override
    {
        if (!m_Window) return;
        RECT frame{};
        GetWindowRect(m_Window.Get(), &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        SetWindowPos(m_Window.Get(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(m_Window.Get(), SW_SHOWNORMAL);
        UpdateWindow(m_Window.Get());
        SetForegroundWindow(m_Window.Get());
        RunDialogLoop(m_Window.Get(), m_Destroyed);
    }

    void Close() override { m_Window.Reset(); }

    NativeWindow Window() const override { return m_Window.Get(); }

    void ClearDirectories() override { SendMessageA(Control(OfKind(ControlKind::ListBox)), LB_RESETCONTENT, 0, 0); }

    void AppendDirectory(const std::string& line) override
    {
        SendMessageA(Control(OfKind(ControlKind::ListBox)), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }

    std::vector<std::string> Directories() const override
    {
        const HWND list = Control(OfKind(ControlKind::ListBox));
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        std::vector<std::string> lines;
        for (LRESULT i = 0; i < count; ++i) {
            const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
            std::string line(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
            const LRESULT copied = SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
            line.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
            lines.push_back(std::move(line));
        }
        return lines;
    }

    int SelectedDirectory() const override
    {
        const LRESULT selected = SendMessageA(Control(OfKind(ControlKind::ListBox)), LB_GETCURSEL, 0, 0);
        return selected == LB_ERR ? -1 : static_cast<int>(selected);
    }

    void DeleteDirectory(int index) override { SendMessageA(Control(OfKind(ControlKind::ListBox)), LB_DELETESTRING, index, 0); }

    void SetIntervalPosition(int position) override
    {
        SendMessageA(Control(OfKind(ControlKind::UpDown)), UDM_SETPOS32, 0, position);
    }

    int IntervalPosition() const override
    {
        return static_cast<int>(SendMessageA(Control(OfKind(ControlKind::UpDown)), UDM_GETPOS32, 0, 0));
    }

    void SetIntervalText(const std::string& text) override { SetWindowTextA(Control(OfKind(ControlKind::Edit)), text.c_str()); }

    std::string IntervalText() const override { return WindowText(Control(OfKind(ControlKind::Edit))); }

    void SetChecked(ConfigCheckBox box, bool checked) override
    {
        SendMessageA(Control(CheckBoxControl(box)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    bool Checked(ConfigCheckBox box) const override
    {
        return SendMessageA(Control(CheckBoxControl(box)), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override
    {
        return ShowMessageBox(text, caption, style, Window());
    }

    void ShowError(const std::string& message) override { ShowErrorBox(message); }

    std::optional<std::string> BrowseForFolder(const std::string& prompt) override
    {
        return BrowseForDirectory(m_Window.Get(), prompt);
    }

    std::unique_ptr<AboutBoxView> CreateAboutBox() override { return CreateWin32AboutBox(m_Window.Get()); }

private:
    // The menu bar from the table: each menu where its first item names it.
    static HMENU CreateMenuBar()
    {
        const HMENU bar = CreateMenu();
        std::vector<std::pair<std::string, HMENU>> menus;
        const auto items = ConfigMenu();
        for (std::size_t i = 0; i < items.size(); ++i) {
            auto menu = std::find_if(menus.begin(), menus.end(), [&](const auto& m) { return m.first == items[i].menu; });
            if (menu == menus.end()) menu = menus.insert(menus.end(), {items[i].menu, CreatePopupMenu()});
            AppendMenuA(menu->second, MF_STRING, kFirstMenuId + i, items[i].text);
        }
        // The bar owns its menus from here on and goes with the window.
        for (const auto& [title, menu] : menus)
            AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), title.c_str());
        return bar;
    }

    void CreateControls()
    {
        const HWND window = m_Window.Get();
        CreateTableControls(window, ConfigControls(), m_Fonts, m_Hints);
        const HWND upDown = Control(OfKind(ControlKind::UpDown));
        const ConfigControl& range = OfKind(ControlKind::UpDown);
        SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(OfKind(ControlKind::Edit))), 0);
        SendMessageA(upDown, UDM_SETRANGE32, range.minimum, range.maximum);
        SendMessageA(upDown, UDM_SETPOS32, 0, range.minimum);
        // One step at a time however long an arrow is held.
        UDACCEL step{0, 1};
        SendMessageA(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    }

    void SetButtonPicture(HWND button, const Bitmap& picture, ImageList& image)
    {
        image = MaskedImageList(OverBackground(picture, MakePixel(255, 0, 255)));
        if (!image.Get()) return;
        BUTTON_IMAGELIST description{};
        description.himl = image.Get();
        description.margin = RECT{2, 0, 0, 0};
        description.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
        SendMessageA(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&description));
        InvalidateRect(button, nullptr, TRUE);
    }

    HWND Control(const ConfigControl& control) const
    {
        return ControlWindow(m_Window.Get(), ConfigControls(), control);
    }

    static std::string WindowText(HWND control)
    {
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
        text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    void DrawLogo(const DRAWITEMSTRUCT& item) const
    {
        if (!m_Banner) return;
        const MemoryDc source;
        const ObjectSelection selection(source.Get(), m_Banner.Get());
        BitBlt(item.hDC, 0, 0, m_BannerSize.width, m_BannerSize.height, source.Get(), 0, 0, SRCCOPY);
    }

    void Command(int id, int code)
    {
        const auto items = ConfigMenu();
        const int item = id - kFirstMenuId;
        if (item >= 0 && item < static_cast<int>(items.size())) {
            if (m_Events) Guarded([&] { (m_Events->*items[static_cast<std::size_t>(item)].click)(); });
            return;
        }
        ForwardCommand(ConfigControls(), m_Events, id, code);
    }

    // An arrow clicked or Up/Down pressed: the dialog hears of the position asked for and sets
    // the control's position itself, so the control's own change is refused.
    LRESULT IntervalChanging(const NMUPDOWN& change)
    {
        if (m_Events) Guarded([&] { m_Events->IntervalStepRequested(change.iPos + change.iDelta); });
        return TRUE;
    }

public:
    // For the window procedure.
    bool HasWindow() const { return static_cast<bool>(m_Window); }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        const HWND window = m_Window.Get();
        switch (message) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == Control(OfKind(ControlKind::UpDown)) && header->code == UDN_DELTAPOS)
                return IntervalChanging(*reinterpret_cast<NMUPDOWN*>(lParam));
            break;
        }
        case WM_CTLCOLORSTATIC:
            // The read-only edit asks here for its colours.
            if (reinterpret_cast<HWND>(lParam) == Control(OfKind(ControlKind::Edit))) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INACTIVECAPTIONTEXT));
                SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<LRESULT>(m_EditBrush);
            }
            break;
        case WM_DRAWITEM:
            if (reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem == Control(OfKind(ControlKind::Picture))) {
                DrawLogo(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
        case WM_DESTROY:
            m_Destroyed = true;
            break;
        case WM_NCDESTROY:
            m_Window.Release();
            m_Hints.Forget();
            break;
        default: break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

private:
    // Declared before the window, so that the controls go first.
    DialogFonts m_Fonts;
    HBRUSH m_EditBrush; // a system brush, never deleted
    BitmapHandle m_Banner;
    Size m_BannerSize;
    ImageList m_SaveImage;
    ImageList m_CloseImage;
    OwnedWindow m_Window;
    DialogHints m_Hints;
    ConfigDialogEvents* m_Events = nullptr;
    bool m_Destroyed = false;
};

} // namespace

std::unique_ptr<ConfigDialogView> CreateConfigDialogView() { return std::make_unique<Win32ConfigDialogView>(); }
