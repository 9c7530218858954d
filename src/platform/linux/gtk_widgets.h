#pragma once
// Small pieces shared by the GTK dialogs: ownership of GObject references, pictures from gfx
// bitmaps, style sheets scoped to one window, and placing a control at a fixed pixel rectangle.
#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "gfx/bitmap.h"

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// A picture with an alpha channel; pure magenta pixels become transparent. Null when empty.
GObjectPtr<GdkPixbuf> PixbufFromBitmap(const Bitmap& bitmap);

// Adds a style sheet for the whole screen once; its rules name the windows they apply to.
void AddScreenStyleSheet(const char* css);

// Puts a control into a fixed container at left, top with the given size.
void PlaceControl(GtkWidget* fixed, GtkWidget* control, int left, int top, int width, int height);

// Gives a widget a style sheet of its own (its own rules override the screen's), replacing the
// one given before.
void SetWidgetStyleSheet(GtkWidget* widget, GObjectPtr<GtkCssProvider>& provider, const std::string& css);

// The label's text underlined.
void UnderlineLabel(GtkWidget* label);
