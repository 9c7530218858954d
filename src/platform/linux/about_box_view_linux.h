#pragma once
#include <gtk/gtk.h>

#include <memory>

#include "platform/about_box_view.h"

// The about box over owner (which may be null), built hidden.
std::unique_ptr<AboutBoxView> CreateGtkAboutBoxView(GtkWindow* owner);
