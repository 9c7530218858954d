#pragma once
// The size a photo is shown at on a screen of the given size.
#include "gfx/geometry.h"

// A photo that fits is never enlarged; a larger one is scaled down to touch the screen's
// edges with its aspect ratio kept (double precision, the quotient formed first, truncated).
// A non-empty photo never fits to a zero width or height: an extremely thin one keeps one
// pixel, so it is still shown.
Size FitSize(Size image, Size screen);
