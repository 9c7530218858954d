#include "platform/linux/about_box_view_linux.h"

#include <cstdio>
#include <exception>
#include <vector>

#include "gfx/error.h"
#include "platform/handler_guard.h"
#include "platform/linux/gtk_widgets.h"
#include "platform/message_box.h"

namespace {

// The panel's bevel: raised outside, lowered inside.
constexpr const char* kStyleSheet = R"css(
#tovelin-about #Panel1 > border { border: 2px ridge #c0c0c0; border-radius: 0; }
#tovelin-about #client button { min-height: 0; min-width: 0; padding: 0 3px; }
)css";

// The fonts of the table, once per process.
const char* FontSheet()
{
    static const std::string sheet = FontStyleSheet("tovelin-about", kAboutWindow, AboutControls());
    return sheet.c_str();
}

class GtkAboutBoxView final : public AboutBoxView {
public:
    explicit GtkAboutBoxView(GtkWindow* owner);
    ~GtkAboutBoxView() override
    {
        if (m_Window) {
            g_signal_handlers_disconnect_by_data(m_Window, this);
            gtk_widget_destroy(m_Window);
        }
    }

    void SetEvents(AboutBoxEvents& events) override { m_Events = &events; }
    void SetVersionText(const std::string& text) override
    {
        gtk_label_set_text(GTK_LABEL(m_Version.get()), text.c_str());
    }
    std::string VersionText() const override { return gtk_label_get_text(GTK_LABEL(m_Version.get())); }
    void SetLinkTexts(const std::string& web, const std::string& mail) override
    {
        gtk_label_set_text(GTK_LABEL(m_Links[0].label.get()), web.c_str());
        gtk_label_set_text(GTK_LABEL(m_Links[1].label.get()), mail.c_str());
    }
    void SetLinkLook(AboutLink link, Rgb colour, PointerShape pointer) override;
    void ShowModal() override;
    void Close() override
    {
        if (m_Window) gtk_widget_destroy(m_Window);
    }

private:
    struct Link {
        ObjectRef<GtkWidget> box;
        ObjectRef<GtkWidget> label;
        ObjectRef<GtkCssProvider> style;
        PointerShape pointer = PointerShape::Default;
    };

    template <typename Call> void Raise(Call&& call)
    {
        if (m_Events) Guarded([&] { call(*m_Events); });
    }
    static gboolean OnLinkPress(GtkWidget* box, GdkEventButton* event, gpointer self);
    static gboolean OnLinkCrossing(GtkWidget* box, GdkEventCrossing* event, gpointer self);
    static void OnLinkRealize(GtkWidget* box, gpointer self);
    static void OnDestroy(GtkWidget*, gpointer self);
    AboutLink LinkOf(GtkWidget* box) const { return box == m_Links[0].box.get() ? AboutLink::Web : AboutLink::Mail; }
    GtkWidget* BuildControl(const AboutControl& control);
    void ApplyPointer(const Link& link);

    GtkWidget* m_Window = nullptr;
    GtkWindow* m_Owner = nullptr;
    ObjectRef<GtkWidget> m_Version;
    Link m_Links[2];
    AboutBoxEvents* m_Events = nullptr;
    // The loop of the modal wait, while it runs.
    MainLoopPtr m_Loop;
};

GtkAboutBoxView::GtkAboutBoxView(GtkWindow* owner) : m_Owner(owner)
{
    AddScreenStyleSheet(FontSheet());
    AddScreenStyleSheet(kStyleSheet);
    m_Window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_set_name(m_Window, "tovelin-about");
    gtk_window_set_title(GTK_WINDOW(m_Window), kAboutWindow.caption);
    gtk_window_set_resizable(GTK_WINDOW(m_Window), FALSE);
    // A dialog frame: no minimise or maximise button.
    gtk_window_set_type_hint(GTK_WINDOW(m_Window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(m_Window), TRUE);
    if (owner) gtk_window_set_transient_for(GTK_WINDOW(m_Window), owner);
    g_signal_connect(m_Window, "destroy", G_CALLBACK(OnDestroy), this);

    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_name(fixed, "client");
    gtk_widget_set_size_request(fixed, kAboutWindow.client.width, kAboutWindow.client.height);
    gtk_container_add(GTK_CONTAINER(m_Window), fixed);

    const auto controls = AboutControls();
    const std::vector<GtkWidget*> placed =
        PlaceTable(fixed, controls, kAboutWindow.client, [this](const AboutControl& control) { return BuildControl(control); });
    // The button that closes the box is the window's default: Enter closes it.
    for (const AboutControl& control : controls) {
        if (control.click != &AboutBoxEvents::btnCloseClick) continue;
        GtkWidget* button = placed[&control - controls.data()];
        gtk_widget_set_can_default(button, TRUE);
        gtk_window_set_default(GTK_WINDOW(m_Window), button);
    }
}

GtkWidget* GtkAboutBoxView::BuildControl(const AboutControl& control)
{
    switch (control.kind) {
    case ControlKind::Panel: {
        GtkWidget* panel = gtk_frame_new(nullptr);
        gtk_widget_set_name(panel, control.name);
        gtk_frame_set_shadow_type(GTK_FRAME(panel), GTK_SHADOW_IN);
        return panel;
    }
    case ControlKind::Label: {
        GtkWidget* label = NewLabel(control.text, control.align, control.name);
        if (&control == &AboutVersionLabel()) m_Version = ObjectRef<GtkWidget>::Share(label);
        return label;
    }
    case ControlKind::Link: {
        Link& link = m_Links[control.link == AboutLink::Web ? 0 : 1];
        link.label = ObjectRef<GtkWidget>::Share(NewLabel(control.text, control.align, control.name));
        UnderlineLabel(link.label.get());
        link.box = ObjectRef<GtkWidget>::Share(gtk_event_box_new());
        gtk_container_add(GTK_CONTAINER(link.box.get()), link.label.get());
        gtk_widget_add_events(link.box.get(), GDK_BUTTON_PRESS_MASK | GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
        g_signal_connect(link.box.get(), "button-press-event", G_CALLBACK(OnLinkPress), this);
        g_signal_connect(link.box.get(), "enter-notify-event", G_CALLBACK(OnLinkCrossing), this);
        g_signal_connect(link.box.get(), "leave-notify-event", G_CALLBACK(OnLinkCrossing), this);
        g_signal_connect(link.box.get(), "realize", G_CALLBACK(OnLinkRealize), this);
        return link.box.get();
    }
    case ControlKind::Button: {
        GtkWidget* button = gtk_button_new_with_label(control.text);
        gtk_widget_set_name(button, control.name);
        ConnectHandler(button, "clicked", control, m_Events);
        return button;
    }
    case ControlKind::Picture:
    case ControlKind::ListBox:
    case ControlKind::CheckBox:
    case ControlKind::UpDown:
    case ControlKind::Edit: break;
    }
    throw Error(std::string("The about box cannot show the control ") + control.name);
}

void GtkAboutBoxView::SetLinkLook(AboutLink link, Rgb colour, PointerShape pointer)
{
    Link& target = m_Links[link == AboutLink::Web ? 0 : 1];
    char css[64];
    std::snprintf(css, sizeof css, "label { color: #%02x%02x%02x; }", colour.red, colour.green, colour.blue);
    SetWidgetStyleSheet(target.label.get(), target.style, css);
    target.pointer = pointer;
    ApplyPointer(target);
}

void GtkAboutBoxView::ApplyPointer(const Link& link)
{
    GdkWindow* window = gtk_widget_get_window(link.box.get());
    if (!window) return; // set when the box is realized
    if (link.pointer == PointerShape::Hand) {
        const auto cursor = ObjectRef<GdkCursor>::Adopt(gdk_cursor_new_from_name(gdk_window_get_display(window), "pointer"));
        gdk_window_set_cursor(window, cursor.get());
    } else {
        gdk_window_set_cursor(window, nullptr);
    }
}

void GtkAboutBoxView::ShowModal()
{
    if (!m_Window) return;
    gtk_window_set_modal(GTK_WINDOW(m_Window), TRUE);
    gtk_window_move(GTK_WINDOW(m_Window), kAboutScreenPosition.x, kAboutScreenPosition.y);
    gtk_widget_show_all(m_Window);
    m_Loop = NewMainLoop();
    if (m_Window) g_main_loop_run(m_Loop.get());
    m_Loop.reset();
    if (m_Owner) gtk_window_present(m_Owner);
}

gboolean GtkAboutBoxView::OnLinkPress(GtkWidget* box, GdkEventButton* event, gpointer self)
{
    auto* view = static_cast<GtkAboutBoxView*>(self);
    if (event->button != GDK_BUTTON_PRIMARY || event->type != GDK_BUTTON_PRESS) return FALSE;
    const AboutControl& label = AboutLinkLabel(view->LinkOf(box));
    if (label.click) view->Raise([&label](AboutBoxEvents& events) { (events.*label.click)(); });
    return TRUE;
}

gboolean GtkAboutBoxView::OnLinkCrossing(GtkWidget* box, GdkEventCrossing* event, gpointer self)
{
    // Crossings into and out of the label inside the box are not the mouse leaving the link.
    if (event->detail == GDK_NOTIFY_INFERIOR) return FALSE;
    auto* view = static_cast<GtkAboutBoxView*>(self);
    const AboutLink link = view->LinkOf(box);
    const bool entering = event->type == GDK_ENTER_NOTIFY;
    view->Raise([link, entering](AboutBoxEvents& events) {
        if (entering) events.labelWebMouseEnter(link);
        else events.labelWebMouseLeave(link);
    });
    return FALSE;
}

void GtkAboutBoxView::OnLinkRealize(GtkWidget* box, gpointer self)
{
    auto* view = static_cast<GtkAboutBoxView*>(self);
    view->ApplyPointer(view->m_Links[view->LinkOf(box) == AboutLink::Web ? 0 : 1]);
}

void GtkAboutBoxView::OnDestroy(GtkWidget*, gpointer self)
{
    auto* view = static_cast<GtkAboutBoxView*>(self);
    view->m_Window = nullptr;
    if (view->m_Loop) g_main_loop_quit(view->m_Loop.get());
}

} // namespace

std::unique_ptr<AboutBoxView> CreateGtkAboutBoxView(GtkWindow* owner)
{
    return std::make_unique<GtkAboutBoxView>(owner);
}
