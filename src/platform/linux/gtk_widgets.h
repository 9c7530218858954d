#pragma once
// Small pieces shared by the GTK dialogs: pictures from gfx bitmaps, style sheets scoped to one
// window, and a dialog's table of controls placed at their pixel rectangles.
#include <gtk/gtk.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "config/dialog_layout.h"
#include "gfx/bitmap.h"
#include "platform/handler_guard.h"
#include "platform/linux/glib_owners.h"

// A picture with an alpha channel; pure magenta pixels become transparent. Null when empty.
ObjectRef<GdkPixbuf> PixbufFromBitmap(const Bitmap& bitmap);

// Adds a style sheet for the whole screen once; its rules name the windows they apply to.
void AddScreenStyleSheet(const char* css);

// Gives a widget a style sheet of its own (its own rules override the screen's), replacing the
// one given before.
void SetWidgetStyleSheet(GtkWidget* widget, ObjectRef<GtkCssProvider>& provider, const std::string& css);

// The label's text underlined.
void UnderlineLabel(GtkWidget* label);

// A label of a dialog's table: its text, aligned as the table says, from its top.
GtkWidget* NewLabel(const char* text, TextAlign align, const char* name);

// The style sheet that gives a window's controls its font and the sizes and weights that the
// table asks for; windowName is the window's widget name.
template <typename Events>
std::string FontStyleSheet(const char* windowName, const DialogWindow& window,
                           std::span<const DialogControl<Events>> controls)
{
    const std::string scope = std::string("#") + windowName + " ";
    std::string css = scope + "#client, " + scope + "#client * { font-family: \"" + window.fontFace +
        "\", \"Liberation Sans\", sans-serif; font-size: " + std::to_string(window.fontHeight) + "px; }\n";
    for (const DialogControl<Events>& control : controls) {
        if (control.fontHeight == 0 && !control.bold) continue;
        css += scope + "#" + control.name + " {";
        if (control.fontHeight) css += " font-size: " + std::to_string(control.fontHeight) + "px;";
        if (control.bold) css += " font-weight: bold;";
        css += " }\n";
    }
    return css;
}

// Connects a widget's signal (one with no arguments of its own) to the handler that a table
// entry (a control or a menu item) names. events is the view's slot for its handlers, read when
// the signal comes; it must outlive the widget.
template <typename Entry, typename Events>
void ConnectHandler(GtkWidget* widget, const char* signal, const Entry& entry, Events* const& events)
{
    g_object_set_data(G_OBJECT(widget), "tovelin-entry", const_cast<Entry*>(&entry));
    const auto forward = +[](GtkWidget* source, gpointer slot) {
        Events* handlers = *static_cast<Events* const*>(slot);
        const auto* target = static_cast<const Entry*>(g_object_get_data(G_OBJECT(source), "tovelin-entry"));
        if (handlers && target && target->click) Guarded([&] { (handlers->*(target->click))(); });
    };
    g_signal_connect(widget, signal, G_CALLBACK(forward), const_cast<Events**>(&events));
}

// Builds a table's controls into a fixed container, in the table's order so that a panel's labels
// lie over it: each made by build, with its hint, at its place cut to the client area (a GtkFixed
// grows to what it holds). The tab stops make the focus chain, in tab order. Returns the widget
// placed for each control, in the table's order.
template <typename Events, typename Build>
std::vector<GtkWidget*> PlaceTable(GtkWidget* fixed, std::span<const DialogControl<Events>> controls, Size client,
                                   Build build)
{
    std::vector<GtkWidget*> placed;
    for (const DialogControl<Events>& control : controls) {
        GtkWidget* widget = build(control);
        if (control.hint) gtk_widget_set_tooltip_text(widget, control.hint);
        const Rect place = ClientPlace(controls, control);
        gtk_widget_set_size_request(widget, std::min(place.Right(), client.width) - place.x,
                                    std::min(place.Bottom(), client.height) - place.y);
        gtk_fixed_put(GTK_FIXED(fixed), widget, place.x, place.y);
        placed.push_back(widget);
    }
    GList* chain = nullptr;
    for (const DialogControl<Events>* control : TabOrder(controls)) chain = g_list_append(chain, placed[control - controls.data()]);
    const Owned<GList, g_list_free> owned(chain);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_container_set_focus_chain(GTK_CONTAINER(fixed), owned.get());
    G_GNUC_END_IGNORE_DEPRECATIONS
    return placed;
}
