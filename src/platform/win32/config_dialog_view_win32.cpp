// The configuration dialog with Win32 controls: a fixed top-level window with a menu bar, the
// controls created in their tab order, hints as tool tips, and IsDialogMessage for the keys.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "gfx/error.h"
#include "gfx/raster.h"
#include "platform/config_dialog_view.h"
#include "platform/win32/about_box_view_win32.h"
#include "platform/win32/dialog_controls_win32.h"
#include "platform/win32/shell_folders_win32.h"

namespace {

constexpr const char* kClassName = "TovelinConfigDialog";
constexpr const char* kCaption = "Tovelin Screen Saver Configuration ";
constexpr Size kClientSize{510, 516};
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr Rect kLogoPlace{0, 0, 513, 89};
constexpr int kListLineHeight = 15;
constexpr int kListScrollWidth = 600;

// Control and menu identifiers: above IDOK and IDCANCEL, which IsDialogMessage sends for Enter
// and Escape and which the dialog leaves alone.
enum Id : int {
    IdLogo = 100,
    IdLabel1,
    IdDirectoryList,
    IdAddDir,
    IdDelDir,
    IdViewDir,
    IdUpDown,
    IdInterval,
    IdSave,
    IdClose,
    IdLabel2,
    IdLabel3,
    IdTips,
    IdFirstCheckBox, // the check boxes follow in ConfigCheckBox order
    IdMenuExit = 200,
    IdMenuHelpContent,
    IdMenuHomePage,
    IdMenuAbout,
};

constexpr int CheckBoxId(ConfigCheckBox box) { return IdFirstCheckBox + static_cast<int>(box); }

struct CheckBoxControl {
    ConfigCheckBox box;
    Rect place;
    const char* text;
    const char* hint;
    bool checked;
};

class Win32ConfigDialogView final : public ConfigDialogView {
public:
    Win32ConfigDialogView()
        : m_Font(CreateUiFont("Arial", 12)), m_LabelFont(CreateUiFont("Arial", 13)),
          m_EditBrush(GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT))
    {
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        const WindowClass& windowClass = DialogWindowClass(kClassName, &ViewWindowProcedure<Win32ConfigDialogView>);
        const Size frame = FrameSizeFor(kClientSize, kStyle, 0, true);
        const HMENU menuBar = CreateMenuBar();
        m_Window = OwnedWindow(CreateWindowExA(0, windowClass.Name(), kCaption, kStyle, CW_USEDEFAULT,
                                               CW_USEDEFAULT, frame.width, frame.height, nullptr, menuBar,
                                               GetModuleHandleA(nullptr), this));
        if (!m_Window) {
            const DWORD code = GetLastError();
            DestroyMenu(menuBar);
            throw Error("Cannot create the configuration dialog (error " + std::to_string(code) + ")");
        }
        CreateControls();
    }

    ~Win32ConfigDialogView() override { m_Window.Destroy(); }

    void SetEvents(ConfigDialogEvents& events) override { m_Events = &events; }

    void SetPictures(const Bitmap& banner, const Bitmap& saveButton, const Bitmap& closeButton) override
    {
        m_Banner = CreateDibSection(BannerInPlace(banner));
        InvalidateRect(Control(IdLogo), nullptr, TRUE);
        SetButtonPicture(Control(IdSave), saveButton, m_SaveImage);
        SetButtonPicture(Control(IdClose), closeButton, m_CloseImage);
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

    void Close() override { m_Window.Destroy(); }

    NativeWindow Window() const override { return m_Window.Get(); }

    void ClearDirectories() override { SendMessageA(Control(IdDirectoryList), LB_RESETCONTENT, 0, 0); }

    void AppendDirectory(const std::string& line) override
    {
        SendMessageA(Control(IdDirectoryList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }

    std::vector<std::string> Directories() const override
    {
        const HWND list = Control(IdDirectoryList);
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
        const LRESULT selected = SendMessageA(Control(IdDirectoryList), LB_GETCURSEL, 0, 0);
        return selected == LB_ERR ? -1 : static_cast<int>(selected);
    }

    void DeleteDirectory(int index) override { SendMessageA(Control(IdDirectoryList), LB_DELETESTRING, index, 0); }

    void SetIntervalPosition(int position) override
    {
        position = std::clamp(position, kIntervalMin, kIntervalMax);
        if (m_Events) m_Events->upDownIntervalChangingEx(position);
        SendMessageA(Control(IdUpDown), UDM_SETPOS32, 0, position);
    }

    int IntervalPosition() const override
    {
        return static_cast<int>(SendMessageA(Control(IdUpDown), UDM_GETPOS32, 0, 0));
    }

    void SetIntervalText(const std::string& text) override { SetWindowTextA(Control(IdInterval), text.c_str()); }

    std::string IntervalText() const override { return WindowText(Control(IdInterval)); }

    void SetChecked(ConfigCheckBox box, bool checked) override
    {
        SendMessageA(Control(CheckBoxId(box)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    bool Checked(ConfigCheckBox box) const override
    {
        return SendMessageA(Control(CheckBoxId(box)), BM_GETCHECK, 0, 0) == BST_CHECKED;
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
    static HMENU CreateMenuBar()
    {
        const HMENU bar = CreateMenu();
        const HMENU file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, IdMenuExit, "Exit");
        const HMENU help = CreatePopupMenu();
        AppendMenuA(help, MF_STRING, IdMenuHelpContent, "Help Content...");
        AppendMenuA(help, MF_STRING, IdMenuHomePage, "Home Page");
        AppendMenuA(help, MF_STRING, IdMenuAbout, "About...");
        // The bar owns its menus from here on and goes with the window.
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "Help");
        return bar;
    }

    // In their order of tab stops.
    void CreateControls()
    {
        const HWND window = m_Window.Get();
        const HFONT font = m_Font.Get();
        CreateControl(window, "STATIC", "", SS_OWNERDRAW | SS_NOTIFY, kLogoPlace, IdLogo, font);
        CreateControl(window, "STATIC", "Photo's and Music's Directory List:", SS_LEFT, {0, 96, 201, 16}, IdLabel1,
                      m_LabelFont.Get());
        const HWND list = CreateControl(window, "LISTBOX", "",
                                        WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT,
                                        {0, 112, 369, 121}, IdDirectoryList, font, WS_EX_CLIENTEDGE);
        SendMessageA(list, LB_SETITEMHEIGHT, 0, kListLineHeight);
        SendMessageA(list, LB_SETHORIZONTALEXTENT, kListScrollWidth, 0);
        Button(IdAddDir, {384, 112, 113, 25}, "Add Directory...", "Add photo's directory to the list ");
        Button(IdDelDir, {384, 160, 113, 25}, "Remove Directory", "Remove the selected directory from the list.");
        Button(IdViewDir, {384, 208, 113, 25}, "Directory Detail...", "View Details in the directory selected .");
        CheckBox(kCheckBoxes[0]);
        CheckBox(kCheckBoxes[1]);
        const HWND upDown = CreateControl(window, UPDOWN_CLASSA, "", UDS_ARROWKEYS, {185, 367, 15, 23}, IdUpDown,
                                          nullptr);
        const HWND edit = CreateControl(window, "EDIT", "1", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL,
                                        {152, 367, 33, 23}, IdInterval, font, WS_EX_CLIENTEDGE);
        SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
        SendMessageA(upDown, UDM_SETRANGE32, kIntervalMin, kIntervalMax);
        SendMessageA(upDown, UDM_SETPOS32, 0, kIntervalMin);
        // One step at a time however long an arrow is held.
        UDACCEL step{0, 1};
        SendMessageA(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
        for (std::size_t i = 2; i < 5; ++i) CheckBox(kCheckBoxes[i]);
        Button(IdSave, {80, 488, 75, 25}, "Save", nullptr);
        Button(IdClose, {352, 488, 75, 25}, "Close", nullptr);
        for (std::size_t i = 5; i < kCheckBoxes.size(); ++i) CheckBox(kCheckBoxes[i]);
        CreateControl(window, "STATIC", "Display each Picture for ", SS_LEFT, {8, 368, 132, 15}, IdLabel2, font);
        CreateControl(window, "STATIC", "seconds", SS_LEFT, {208, 368, 48, 15}, IdLabel3, font);
        CreateControl(window, "STATIC",
                      "Tips: We can browse back and forwards using the arrow keys when screensaver running.",
                      SS_LEFT, {8, 440, 487, 15}, IdTips, font);
    }

    // The check boxes in their order of tab stops (two groups, around the interval and the
    // Save and Close buttons).
    static constexpr std::array<CheckBoxControl, 7> kCheckBoxes{{
        {ConfigCheckBox::ShowTime, {8, 240, 153, 17}, "Show current time", nullptr, true},
        {ConfigCheckBox::ShowCurrentFile, {8, 272, 153, 17}, "Show current file name", nullptr, true},
        {ConfigCheckBox::ShowTotalCount, {8, 304, 153, 17}, "Show total count ", nullptr, true},
        {ConfigCheckBox::DisableRandom, {8, 336, 201, 17}, "Disable photo random feature",
         "If disabled,photos will be displayed in sequential order", false},
        {ConfigCheckBox::FadeOut, {8, 400, 265, 17}, "Fade out current photo before display next ", nullptr, false},
        {ConfigCheckBox::EnableMusic, {248, 240, 225, 17}, "Enable music (midi / mp3 / wma)", nullptr, false},
        {ConfigCheckBox::DisableMusicRandom, {248, 272, 201, 17}, "Disable music random feature",
         "If disabled,music will be played in sequential order", false},
    }};

    void Button(int id, const Rect& place, const char* text, const char* hint)
    {
        const HWND button = CreateControl(m_Window.Get(), "BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, place, id,
                                          m_Font.Get());
        if (hint) AddHint(button, hint);
    }

    void CheckBox(const CheckBoxControl& control)
    {
        const HWND box = CreateControl(m_Window.Get(), "BUTTON", control.text, WS_TABSTOP | BS_AUTOCHECKBOX,
                                       control.place, CheckBoxId(control.box), m_Font.Get());
        SendMessageA(box, BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        if (control.hint) AddHint(box, control.hint);
    }

    void AddHint(HWND control, const char* hint)
    {
        if (!m_Tips) {
            // Owned by the dialog, so it goes with it.
            m_Tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_Window.Get(),
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
            if (!m_Tips) return;
        }
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        tool.hwnd = m_Window.Get();
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<char*>(hint);
        SendMessageA(m_Tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }

    // The banner stretched into the picture's place with its proportions kept, from the top
    // left corner, over the dialog's colour.
    static Bitmap BannerInPlace(const Bitmap& banner)
    {
        const Pixel background = SystemPixel(COLOR_BTNFACE);
        Bitmap placed(kLogoPlace.width, kLogoPlace.height, background);
        if (banner.IsEmpty()) return placed;
        const auto wide = std::int64_t{kLogoPlace.width} * banner.Height();
        const auto high = std::int64_t{kLogoPlace.height} * banner.Width();
        const Rect to = wide <= high
            ? Rect{0, 0, kLogoPlace.width, static_cast<int>(wide / banner.Width())}
            : Rect{0, 0, static_cast<int>(high / banner.Height()), kLogoPlace.height};
        StretchCopy(placed, to, OverBackground(banner, background), banner.Bounds());
        return placed;
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

    HWND Control(int id) const { return GetDlgItem(m_Window.Get(), id); }

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
        BitBlt(item.hDC, 0, 0, kLogoPlace.width, kLogoPlace.height, source.Get(), 0, 0, SRCCOPY);
    }

    void Command(int id, int code)
    {
        if (!m_Events) return;
        ConfigDialogEvents& events = *m_Events;
        switch (id) {
        case IdLogo:
            if (code == STN_CLICKED) Guarded([&] { events.imgLogoClick(); });
            return;
        case IdAddDir: if (code == BN_CLICKED) Guarded([&] { events.btnAddDirClick(); }); return;
        case IdDelDir: if (code == BN_CLICKED) Guarded([&] { events.btnDelDirClick(); }); return;
        case IdViewDir: if (code == BN_CLICKED) Guarded([&] { events.btnViewDirClick(); }); return;
        case IdSave: if (code == BN_CLICKED) Guarded([&] { events.btnSaveClick(); }); return;
        case IdClose: if (code == BN_CLICKED) Guarded([&] { events.btnCloseClick(); }); return;
        case IdMenuExit: Guarded([&] { events.menuExitClick(); }); return;
        case IdMenuHelpContent: Guarded([&] { events.menuHelpContentClick(); }); return;
        case IdMenuHomePage: Guarded([&] { events.menuVisitHomePageClick(); }); return;
        case IdMenuAbout: Guarded([&] { events.menuAboutClick(); }); return;
        default: return;
        }
    }

    // An arrow clicked or Up/Down pressed: the control stops at its ends without an event;
    // otherwise the handler hears of the new position first. TRUE refuses the change.
    LRESULT IntervalChanging(NMUPDOWN& change)
    {
        const int next = std::clamp(change.iPos + change.iDelta, kIntervalMin, kIntervalMax);
        if (next == change.iPos) return TRUE;
        change.iDelta = next - change.iPos;
        if (!m_Events) return FALSE;
        return Guarded([&] { m_Events->upDownIntervalChangingEx(next); }) ? FALSE : TRUE;
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
            if (header->idFrom == IdUpDown && header->code == UDN_DELTAPOS)
                return IntervalChanging(*reinterpret_cast<NMUPDOWN*>(lParam));
            break;
        }
        case WM_CTLCOLORSTATIC:
            // The read-only edit asks here for its colours.
            if (reinterpret_cast<HWND>(lParam) == Control(IdInterval)) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INACTIVECAPTIONTEXT));
                SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<LRESULT>(m_EditBrush);
            }
            break;
        case WM_DRAWITEM:
            if (wParam == IdLogo) {
                DrawLogo(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
        case WM_DESTROY:
            m_Destroyed = true;
            break;
        case WM_NCDESTROY:
            m_Window.Release();
            m_Tips = nullptr;
            break;
        default: break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

private:
    // Declared before the window, so that the controls go first.
    FontHandle m_Font;
    FontHandle m_LabelFont;
    HBRUSH m_EditBrush; // a system brush, never deleted
    BitmapHandle m_Banner;
    ImageList m_SaveImage;
    ImageList m_CloseImage;
    OwnedWindow m_Window;
    HWND m_Tips = nullptr; // owned by the dialog's window
    ConfigDialogEvents* m_Events = nullptr;
    bool m_Destroyed = false;
};

} // namespace

std::unique_ptr<ConfigDialogView> CreateConfigDialogView() { return std::make_unique<Win32ConfigDialogView>(); }
