#pragma once
// The pictures that the configuration dialog carries: the banner across its top and the 16 x 16
// pictures of the Save and Close buttons. Pure magenta pixels are transparent.
#include "gfx/bitmap.h"

Bitmap BannerPicture();
Bitmap SaveButtonPicture();
Bitmap CloseButtonPicture();
