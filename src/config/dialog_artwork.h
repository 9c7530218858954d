#pragma once
// The pictures that the configuration dialog carries: the banner across its top and the 16 x 16
// pictures of the Save and Close buttons. Pure magenta pixels are transparent.
#include "config/dialog_layout.h"
#include "gfx/bitmap.h"

Bitmap BannerPicture();
Bitmap SaveButtonPicture();
Bitmap CloseButtonPicture();

// The size at which a button shows its picture.
constexpr Size kButtonPictureSize{16, 16};

// The picture stretched into an area of the given size with its proportions kept, from the top
// left corner, by gfx's own stretch; the rest of the area is pure magenta. Both builds draw
// these pixels as they are.
Bitmap FitIntoArea(const Bitmap& picture, Size area);

// A control's picture prepared at the size it is shown at (the banner at its control's place);
// empty for DialogPicture::None.
Bitmap PreparedPicture(DialogPicture picture);
