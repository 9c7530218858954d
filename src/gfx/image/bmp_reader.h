#pragma once
// BMP pictures: core (OS/2 1.x), OS/2 2.x and Windows headers up to V5; 1, 4, 8, 16, 24 and 32
// bits per pixel; uncompressed, RLE4, RLE8 and bit-field masks; bottom-up and top-down. Only
// the rows and columns of the fitted picture are read.
#include "gfx/bitmap.h"
#include "gfx/image/image_file.h"
#include "gfx/image/image_source.h"

Bitmap LoadFittedBmp(ImageSource& source, const FitFunction& fit, const std::stop_token& stop = {});
