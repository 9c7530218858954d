#include <gtk/gtk.h>

#include <algorithm>
#include <array>
#include <exception>

#include "gfx/error.h"
#include "platform/config_dialog_view.h"
#include "platform/handler_guard.h"
#include "platform/linux/about_box_view_linux.h"
#include "platform/linux/gtk_session.h"
#include "platform/linux/gtk_widgets.h"
#include "platform/linux/interval_spin.h"

namespace {

constexpr int kBrowserWidth = 560;
constexpr int kBrowserHeight = 420;

// The controls' sizes small enough that the pixel sizes hold; the read-only edit in a light grey
// like the classic inactive caption text.
constexpr const char* kStyleSheet = R"css(
#tovelin-config #client button { min-height: 0; min-width: 0; padding: 0 3px; }
#tovelin-config #client checkbutton { min-height: 0; padding: 0; }
#tovelin-config #client checkbutton check { min-width: 13px; min-height: 13px; margin: 0 4px 0 0; padding: 0; }
#tovelin-config #editInterval { min-height: 0; min-width: 0; padding: 0 3px; border-radius: 0;
    background-color: #d4d0c8; background-image: none; }
#tovelin-config #listBoxPhotoDir { -GtkTreeView-vertical-separator: 0; -GtkTreeView-horizontal-separator: 0;
    -GtkTreeView-expander-size: 0; }
#tovelin-config treeview#listBoxPhotoDir.view.expander { min-width: 0; min-height: 0; }
#tovelin-config #client scrolledwindow { border-radius: 0; }
)css";

// The fonts of the table, once per process.
const char* FontSheet()
{
    static const std::string sheet = FontStyleSheet("tovelin-config", kConfigWindow, ConfigControls());
    return sheet.c_str();
}

// GTK opened before any widget is made.
bool RequireDisplay()
{
    if (!EnsureGtkInitialized()) throw Error("The configuration dialog needs a display.");
    return true;
}

std::string WithoutTrailingNewlines(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// The user's Pictures folder (the XDG user directory), or the home folder without one.
std::string BrowserStartFolder()
{
    const gchar* pictures = g_get_user_special_dir(G_USER_DIRECTORY_PICTURES);
    if (pictures != nullptr && g_file_test(pictures, G_FILE_TEST_IS_DIR)) return pictures;
    return g_get_home_dir();
}

class GtkConfigDialogView final : public ConfigDialogView {
public:
    GtkConfigDialogView();
    ~GtkConfigDialogView() override;

    void SetEvents(ConfigDialogEvents& events) override { m_Events = &events; }
    void SetPictures(const Bitmap& banner, const Bitmap& saveButton, const Bitmap& closeButton) override;
    void ShowAndRun() override;
    void Close() override
    {
        if (m_Window) gtk_widget_destroy(m_Window);
    }
    NativeWindow Window() const override { return m_Window; }

    void ClearDirectories() override
    {
        gtk_list_store_clear(m_Lines.get());
        m_Texts.clear();
    }
    void AppendDirectory(const std::string& line) override;
    std::vector<std::string> Directories() const override;
    int SelectedDirectory() const override;
    void DeleteDirectory(int index) override;

    void SetIntervalPosition(int position) override { m_Spin.SetPosition(position); }
    int IntervalPosition() const override { return m_Spin.Position(); }
    void SetIntervalText(const std::string& text) override
    {
        gtk_entry_set_text(GTK_ENTRY(m_Edit.get()), text.c_str());
    }
    std::string IntervalText() const override { return gtk_entry_get_text(GTK_ENTRY(m_Edit.get())); }

    void SetChecked(ConfigCheckBox box, bool checked) override
    {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(CheckBox(box)), checked);
    }
    bool Checked(ConfigCheckBox box) const override
    {
        return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(CheckBox(box))) != FALSE;
    }

    int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override
    {
        return ShowMessageBox(text, caption, style, m_Window);
    }
    void ShowError(const std::string& message) override { ShowErrorBox(message); }
    std::optional<std::string> BrowseForFolder(const std::string& prompt) override;
    std::unique_ptr<AboutBoxView> CreateAboutBox() override
    {
        return CreateGtkAboutBoxView(m_Window ? GTK_WINDOW(m_Window) : nullptr);
    }

private:
    static gboolean OnBrowserMapped(GtkWidget* chooser, GdkEvent*, gpointer);
    static gboolean OnLogoDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean OnLogoPress(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean OnEditKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
    static void OnSelectionChanged(GtkTreeSelection* selection, gpointer);
    static void OnDestroy(GtkWidget*, gpointer self);

    GtkWidget* CheckBox(ConfigCheckBox box) const { return m_Checks[static_cast<std::size_t>(box)].get(); }
    void BuildMenu(GtkWidget* box);
    void BuildControls(GtkWidget* fixed);
    GtkWidget* BuildControl(const ConfigControl& control);
    // The widget placed for a control of the table (for the list box, its scroller).
    GtkWidget* Placed(const ConfigControl& control) const;

    [[maybe_unused]] const bool m_DisplayOpen = RequireDisplay();
    ConfigDialogEvents* m_Events = nullptr;
    GtkWidget* m_Window = nullptr;
    // The loop of the modal wait, while it runs.
    MainLoopPtr m_Loop;
    ObjectRef<GtkListStore> m_Lines;
    ObjectRef<GtkWidget> m_List;
    ObjectRef<GtkWidget> m_Edit;
    std::array<ObjectRef<GtkWidget>, 7> m_Checks;
    // The widgets placed for the table's controls, in its order; empty once the window is gone.
    std::vector<GtkWidget*> m_Placed;
    ObjectRef<GdkPixbuf> m_Banner;
    // The lines as given: the list shows them made valid UTF-8.
    std::vector<std::string> m_Texts;
    IntervalSpin m_Spin;
};

GtkConfigDialogView::GtkConfigDialogView()
    : m_Lines(ObjectRef<GtkListStore>::Adopt(gtk_list_store_new(1, G_TYPE_STRING))),
      m_Spin([this](int position) {
          if (m_Events) Guarded([this, position] { m_Events->IntervalStepRequested(position); });
      })
{
    AddScreenStyleSheet(FontSheet());
    AddScreenStyleSheet(kStyleSheet);
    m_Window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_set_name(m_Window, "tovelin-config");
    gtk_window_set_title(GTK_WINDOW(m_Window), kConfigWindow.caption);
    gtk_window_set_resizable(GTK_WINDOW(m_Window), FALSE);
    g_signal_connect(m_Window, "destroy", G_CALLBACK(OnDestroy), this);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(m_Window), box);
    BuildMenu(box);
    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_name(fixed, "client");
    gtk_widget_set_size_request(fixed, kConfigWindow.client.width, kConfigWindow.client.height);
    gtk_box_pack_start(GTK_BOX(box), fixed, TRUE, TRUE, 0);
    BuildControls(fixed);
}

GtkConfigDialogView::~GtkConfigDialogView()
{
    if (m_Window) {
        g_signal_handlers_disconnect_by_data(m_Window, this);
        gtk_widget_destroy(m_Window);
    }
}

void GtkConfigDialogView::BuildMenu(GtkWidget* box)
{
    GtkWidget* bar = gtk_menu_bar_new();
    std::vector<std::pair<std::string, GtkWidget*>> menus;
    for (const DialogMenuItem<ConfigDialogEvents>& entry : ConfigMenu()) {
        auto menu = std::find_if(menus.begin(), menus.end(), [&](const auto& m) { return m.first == entry.menu; });
        if (menu == menus.end()) {
            GtkWidget* title = gtk_menu_item_new_with_label(entry.menu);
            menu = menus.insert(menus.end(), {entry.menu, gtk_menu_new()});
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(title), menu->second);
            gtk_menu_shell_append(GTK_MENU_SHELL(bar), title);
        }
        GtkWidget* item = gtk_menu_item_new_with_label(entry.text);
        ConnectHandler(item, "activate", entry, m_Events);
        gtk_menu_shell_append(GTK_MENU_SHELL(menu->second), item);
    }
    gtk_box_pack_start(GTK_BOX(box), bar, FALSE, FALSE, 0);
}

GtkWidget* GtkConfigDialogView::BuildControl(const ConfigControl& control)
{
    switch (control.kind) {
    case ControlKind::Picture: {
        GtkWidget* logo = gtk_drawing_area_new();
        gtk_widget_set_name(logo, control.name);
        gtk_widget_add_events(logo, GDK_BUTTON_PRESS_MASK);
        g_signal_connect(logo, "draw", G_CALLBACK(OnLogoDraw), this);
        g_signal_connect(logo, "button-press-event", G_CALLBACK(OnLogoPress), this);
        return logo;
    }
    case ControlKind::Label: return NewLabel(control.text, control.align, control.name);
    case ControlKind::ListBox: {
        // One text column, lines of the table's height, scrolling sideways up to its width.
        GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
        gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
        gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scroller), FALSE);
        m_List = ObjectRef<GtkWidget>::Share(gtk_tree_view_new_with_model(GTK_TREE_MODEL(m_Lines.get())));
        gtk_widget_set_name(m_List.get(), control.name);
        gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(m_List.get()), FALSE);
        gtk_tree_view_set_enable_search(GTK_TREE_VIEW(m_List.get()), FALSE);
        // A flat list: without expanders the rows are no taller than their text needs.
        gtk_tree_view_set_show_expanders(GTK_TREE_VIEW(m_List.get()), FALSE);
        GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
        gtk_cell_renderer_set_padding(renderer, 2, 0);
        gtk_cell_renderer_set_fixed_size(renderer, -1, kListLineHeight);
        GtkTreeViewColumn* column = gtk_tree_view_column_new_with_attributes("", renderer, "text", 0, nullptr);
        gtk_tree_view_column_set_max_width(column, kListScrollWidth);
        gtk_tree_view_append_column(GTK_TREE_VIEW(m_List.get()), column);
        GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(m_List.get()));
        gtk_tree_selection_set_mode(selection, GTK_SELECTION_SINGLE);
        g_signal_connect(selection, "changed", G_CALLBACK(OnSelectionChanged), this);
        gtk_container_add(GTK_CONTAINER(scroller), m_List.get());
        return scroller;
    }
    case ControlKind::Button: {
        GtkWidget* button = gtk_button_new_with_label(control.text);
        gtk_widget_set_name(button, control.name);
        ConnectHandler(button, "clicked", control, m_Events);
        return button;
    }
    case ControlKind::CheckBox: {
        GtkWidget* button = gtk_check_button_new_with_label(control.text);
        gtk_widget_set_name(button, control.name);
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button), control.checked);
        m_Checks[static_cast<std::size_t>(control.checkBox)] = ObjectRef<GtkWidget>::Share(button);
        return button;
    }
    case ControlKind::UpDown:
        gtk_widget_set_name(m_Spin.Widget(), control.name);
        m_Spin.SetPosition(control.minimum);
        return m_Spin.Widget();
    case ControlKind::Edit:
        m_Edit = ObjectRef<GtkWidget>::Share(gtk_entry_new());
        gtk_widget_set_name(m_Edit.get(), control.name);
        gtk_editable_set_editable(GTK_EDITABLE(m_Edit.get()), control.readOnly ? FALSE : TRUE);
        gtk_entry_set_width_chars(GTK_ENTRY(m_Edit.get()), 1);
        gtk_entry_set_text(GTK_ENTRY(m_Edit.get()), control.text);
        // The edit is the spin control's buddy: Up and Down step it there too.
        g_signal_connect(m_Edit.get(), "key-press-event", G_CALLBACK(OnEditKeyPress), this);
        return m_Edit.get();
    case ControlKind::Panel:
    case ControlKind::Link: break;
    }
    throw Error(std::string("The configuration dialog cannot show the control ") + control.name);
}

void GtkConfigDialogView::BuildControls(GtkWidget* fixed)
{
    m_Placed = PlaceTable(fixed, ConfigControls(), kConfigWindow.client,
                          [this](const ConfigControl& control) { return BuildControl(control); });
}

GtkWidget* GtkConfigDialogView::Placed(const ConfigControl& control) const
{
    const auto index = static_cast<std::size_t>(&control - ConfigControls().data());
    return index < m_Placed.size() ? m_Placed[index] : nullptr;
}

void GtkConfigDialogView::SetPictures(const Bitmap& banner, const Bitmap& saveButton, const Bitmap& closeButton)
{
    m_Banner = PixbufFromBitmap(banner);
    if (GtkWidget* logo = Placed(ControlOfKind(ConfigControls(), ControlKind::Picture))) gtk_widget_queue_draw(logo);
    const auto setPicture = [](GtkWidget* button, const Bitmap& picture) {
        if (!button) return;
        const ObjectRef<GdkPixbuf> pixbuf = PixbufFromBitmap(picture);
        gtk_button_set_image(GTK_BUTTON(button), pixbuf ? gtk_image_new_from_pixbuf(pixbuf.get()) : nullptr);
        gtk_button_set_image_position(GTK_BUTTON(button), GTK_POS_LEFT);
        gtk_button_set_always_show_image(GTK_BUTTON(button), TRUE);
    };
    for (const ConfigControl& control : ConfigControls()) {
        if (control.picture == DialogPicture::SaveButton) setPicture(Placed(control), saveButton);
        if (control.picture == DialogPicture::CloseButton) setPicture(Placed(control), closeButton);
    }
}

void GtkConfigDialogView::ShowAndRun()
{
    if (!m_Window) return;
    gtk_window_set_position(GTK_WINDOW(m_Window), GTK_WIN_POS_CENTER);
    gtk_widget_show_all(m_Window);
    m_Loop = NewMainLoop();
    if (m_Window) g_main_loop_run(m_Loop.get());
    m_Loop.reset();
}

void GtkConfigDialogView::AppendDirectory(const std::string& line)
{
    // GTK shows UTF-8 only; a name in another encoding still shows, with replacements.
    const GlibString valid(g_utf8_make_valid(line.data(), static_cast<gssize>(line.size())));
    GtkTreeIter row;
    gtk_list_store_append(m_Lines.get(), &row);
    gtk_list_store_set(m_Lines.get(), &row, 0, valid.c_str(), -1);
    m_Texts.push_back(line);
}

std::vector<std::string> GtkConfigDialogView::Directories() const { return m_Texts; }

void GtkConfigDialogView::DeleteDirectory(int index)
{
    if (index < 0 || index >= static_cast<int>(m_Texts.size())) return;
    GtkTreeIter row;
    if (gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(m_Lines.get()), &row, nullptr, index))
        gtk_list_store_remove(m_Lines.get(), &row);
    m_Texts.erase(m_Texts.begin() + index);
}

std::optional<std::string> GtkConfigDialogView::BrowseForFolder(const std::string& prompt)
{
    GtkWidget* chooser = gtk_file_chooser_dialog_new("Browse for Folder", m_Window ? GTK_WINDOW(m_Window) : nullptr,
                                                     GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel",
                                                     GTK_RESPONSE_CANCEL, "_OK", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    // The chooser sizes itself when mapped, at times larger than a small screen, which hides its
    // buttons: it gets a size that fits, centred on the screen.
    g_signal_connect(chooser, "map-event", G_CALLBACK(OnBrowserMapped), nullptr);
    gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
    gtk_file_chooser_set_local_only(GTK_FILE_CHOOSER(chooser), TRUE);
    gtk_file_chooser_set_create_folders(GTK_FILE_CHOOSER(chooser), FALSE);
    // Nothing is selected, so OK takes the folder shown: that must be one where photos are
    // likely, never the file system's root, whose walk would take the whole disk. Left alone
    // the chooser opens on the recent folders, where a typed path cannot be accepted.
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), BrowserStartFolder().c_str());
    GtkWidget* text = gtk_label_new(WithoutTrailingNewlines(prompt).c_str());
    gtk_label_set_xalign(GTK_LABEL(text), 0);
    gtk_widget_set_margin_start(text, 6);
    gtk_widget_set_margin_top(text, 6);
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(chooser));
    gtk_box_pack_start(GTK_BOX(content), text, FALSE, FALSE, 0);
    gtk_box_reorder_child(GTK_BOX(content), text, 0);
    gtk_widget_show(text);

    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        const GlibString name(gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser)));
        if (name && g_file_test(name.c_str(), G_FILE_TEST_IS_DIR)) chosen = name.str();
    }
    gtk_widget_destroy(chooser);
    // Gone from the screen at once; but no events are run here, or a click queued meanwhile would
    // run its handler before the caller has acted on the answer.
    gdk_display_flush(gdk_display_get_default());
    return chosen;
}

gboolean GtkConfigDialogView::OnBrowserMapped(GtkWidget* chooser, GdkEvent*, gpointer)
{
    GdkRectangle screen{0, 0, kBrowserWidth, kBrowserHeight};
    GdkDisplay* display = gtk_widget_get_display(chooser);
    if (GdkMonitor* monitor = gdk_display_get_monitor_at_window(display, gtk_widget_get_window(chooser)))
        gdk_monitor_get_workarea(monitor, &screen);
    const int width = std::min(kBrowserWidth, screen.width);
    const int height = std::min(kBrowserHeight, screen.height);
    gtk_window_resize(GTK_WINDOW(chooser), width, height);
    gtk_window_move(GTK_WINDOW(chooser), screen.x + (screen.width - width) / 2, screen.y + (screen.height - height) / 2);
    return FALSE;
}

gboolean GtkConfigDialogView::OnLogoDraw(GtkWidget*, cairo_t* cr, gpointer self)
{
    const auto* view = static_cast<GtkConfigDialogView*>(self);
    if (!view->m_Banner) return FALSE;
    // Prepared at the area's size: drawn as it is.
    gdk_cairo_set_source_pixbuf(cr, view->m_Banner.get(), 0, 0);
    cairo_paint(cr);
    return TRUE;
}

gboolean GtkConfigDialogView::OnLogoPress(GtkWidget*, GdkEventButton* event, gpointer self)
{
    auto* view = static_cast<GtkConfigDialogView*>(self);
    const auto click = ControlOfKind(ConfigControls(), ControlKind::Picture).click;
    if (event->button == GDK_BUTTON_PRIMARY && event->type == GDK_BUTTON_PRESS && view->m_Events && click)
        Guarded([view, click] { (view->m_Events->*click)(); });
    return TRUE;
}

gboolean GtkConfigDialogView::OnEditKeyPress(GtkWidget*, GdkEventKey* event, gpointer self)
{
    return static_cast<GtkConfigDialogView*>(self)->m_Spin.HandleKey(event->keyval) ? TRUE : FALSE;
}

int GtkConfigDialogView::SelectedDirectory() const
{
    // A destroyed tree has no selection left to ask.
    if (!m_Window) return -1;
    GtkTreeModel* model = nullptr;
    GtkTreeIter row;
    GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(m_List.get()));
    if (!selection || !gtk_tree_selection_get_selected(selection, &model, &row)) return -1;
    GtkTreePath* path = gtk_tree_model_get_path(model, &row);
    const int index = path && gtk_tree_path_get_depth(path) == 1 ? gtk_tree_path_get_indices(path)[0] : -1;
    gtk_tree_path_free(path);
    return index;
}

void GtkConfigDialogView::OnSelectionChanged(GtkTreeSelection* selection, gpointer)
{
    // Only the user's clicks and keys select a line. Focus alone would select the first one, and
    // "Directory Detail..." would then open it instead of asking the user to choose.
    GdkEvent* event = gtk_get_current_event();
    const bool byUser = event && (event->type == GDK_BUTTON_PRESS || event->type == GDK_2BUTTON_PRESS ||
                                  event->type == GDK_BUTTON_RELEASE || event->type == GDK_KEY_PRESS);
    if (event) gdk_event_free(event);
    if (!byUser && gtk_tree_selection_count_selected_rows(selection) > 0) gtk_tree_selection_unselect_all(selection);
}

void GtkConfigDialogView::OnDestroy(GtkWidget*, gpointer self)
{
    auto* view = static_cast<GtkConfigDialogView*>(self);
    view->m_Window = nullptr;
    view->m_Placed.clear();
    if (view->m_Loop) g_main_loop_quit(view->m_Loop.get());
}

} // namespace

std::unique_ptr<ConfigDialogView> CreateConfigDialogView() { return std::make_unique<GtkConfigDialogView>(); }
