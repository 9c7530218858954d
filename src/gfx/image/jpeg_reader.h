#pragma once
// JPEG photos through libjpeg: full-size, accurate decoding, keeping only the fitted rows and
// columns. Colour and grey files come out as they are, CMYK and YCCK files as RGB.
#include "gfx/bitmap.h"
#include "gfx/image/image_file.h"
#include "gfx/image/image_source.h"

Bitmap LoadFittedJpeg(ImageSource& source, const FitFunction& fit, const std::stop_token& stop = {});
