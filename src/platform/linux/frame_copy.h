#pragma once
// How a frame reaches a window on Linux, whoever owns the window: one area of the frame's
// surface copied to the same place of a cairo target.
#include <cairo.h>

#include "gfx/geometry.h"

inline void CopyFrameArea(cairo_t* cr, cairo_surface_t* frame, const Rect& area)
{
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, frame, 0, 0);
    cairo_rectangle(cr, area.x, area.y, area.width, area.height);
    cairo_fill(cr);
}
