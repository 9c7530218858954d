#include "platform/linux/interval_spin.h"

namespace {

constexpr guint kFirstRepeatMs = 400;
constexpr guint kRepeatMs = 60;

void SetSourceRgb(cairo_t* cr, int red, int green, int blue)
{
    cairo_set_source_rgb(cr, red / 255.0, green / 255.0, blue / 255.0);
}

// One arrow's button: a flat face in a thin frame, a small triangle in the middle.
void DrawArrowButton(cairo_t* cr, double top, double width, double height, int direction, bool pressed)
{
    if (pressed) SetSourceRgb(cr, 204, 228, 247);
    else SetSourceRgb(cr, 240, 240, 240);
    cairo_rectangle(cr, 0, top, width, height);
    cairo_fill(cr);
    SetSourceRgb(cr, 172, 172, 172);
    cairo_rectangle(cr, 0.5, top + 0.5, width - 1, height - 1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    const double centreX = width / 2;
    const double centreY = top + height / 2;
    const double half = 3;
    SetSourceRgb(cr, 64, 64, 64);
    cairo_move_to(cr, centreX - half, centreY + direction * half / 2);
    cairo_line_to(cr, centreX + half, centreY + direction * half / 2);
    cairo_line_to(cr, centreX, centreY - direction * half / 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

} // namespace

IntervalSpin::IntervalSpin(std::function<void(int)> stepped)
    : m_Area(gtk_drawing_area_new()), m_Stepped(std::move(stepped))
{
    gtk_widget_set_can_focus(m_Area, TRUE);
    gtk_widget_add_events(m_Area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_KEY_PRESS_MASK);
    g_signal_connect(m_Area, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(m_Area, "button-press-event", G_CALLBACK(OnButtonPress), this);
    g_signal_connect(m_Area, "button-release-event", G_CALLBACK(OnButtonRelease), this);
    g_signal_connect(m_Area, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(m_Area, "destroy", G_CALLBACK(OnDestroy), this);
}

IntervalSpin::~IntervalSpin()
{
    StopRepeat();
    if (m_Area) g_signal_handlers_disconnect_by_data(m_Area, this);
}

void IntervalSpin::Step(int delta)
{
    if (m_Stepped) m_Stepped(m_Position + delta);
}

bool IntervalSpin::HandleKey(guint keyval)
{
    switch (keyval) {
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up: Step(1); return true;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down: Step(-1); return true;
    default: return false;
    }
}

gboolean IntervalSpin::OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self)
{
    const auto* spin = static_cast<IntervalSpin*>(self);
    const double width = gtk_widget_get_allocated_width(widget);
    const double height = gtk_widget_get_allocated_height(widget);
    const double upperHeight = static_cast<int>(height) / 2;
    DrawArrowButton(cr, 0, width, upperHeight, 1, spin->m_Held > 0);
    DrawArrowButton(cr, upperHeight, width, height - upperHeight, -1, spin->m_Held < 0);
    if (gtk_widget_has_visible_focus(widget))
        gtk_render_focus(gtk_widget_get_style_context(widget), cr, 0, 0, width, height);
    return TRUE;
}

gboolean IntervalSpin::OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self)
{
    auto* spin = static_cast<IntervalSpin*>(self);
    if (event->button != GDK_BUTTON_PRIMARY || event->type != GDK_BUTTON_PRESS) return TRUE;
    // Focused by a click, so that Up and Down step it next.
    gtk_widget_grab_focus(widget);
    spin->StopRepeat();
    spin->m_Held = event->y < gtk_widget_get_allocated_height(widget) / 2 ? 1 : -1;
    gtk_widget_queue_draw(widget);
    spin->m_RepeatSource = g_timeout_add(kFirstRepeatMs, OnRepeat, spin);
    spin->Step(spin->m_Held);
    return TRUE;
}

gboolean IntervalSpin::OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer self)
{
    auto* spin = static_cast<IntervalSpin*>(self);
    if (event->button != GDK_BUTTON_PRIMARY) return TRUE;
    spin->StopRepeat();
    spin->m_Held = 0;
    gtk_widget_queue_draw(widget);
    return TRUE;
}

gboolean IntervalSpin::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self)
{
    return static_cast<IntervalSpin*>(self)->HandleKey(event->keyval) ? TRUE : FALSE;
}

gboolean IntervalSpin::OnRepeat(gpointer self)
{
    auto* spin = static_cast<IntervalSpin*>(self);
    // The first repeat waits longer; the next ones come at the repeat pace.
    spin->m_RepeatSource = g_timeout_add(kRepeatMs, OnRepeat, spin);
    if (spin->m_Held != 0) spin->Step(spin->m_Held);
    return G_SOURCE_REMOVE;
}

void IntervalSpin::OnDestroy(GtkWidget*, gpointer self)
{
    auto* spin = static_cast<IntervalSpin*>(self);
    spin->StopRepeat();
    spin->m_Area = nullptr;
}

void IntervalSpin::StopRepeat()
{
    if (m_RepeatSource != 0) g_source_remove(m_RepeatSource);
    m_RepeatSource = 0;
}
