#pragma once
// The run-length encoded BMP pixel data (RLE8 and RLE4), decoded straight into the fitted picture.
#include "gfx/image/bmp_header.h"
#include "gfx/image/fitted_canvas.h"
#include "gfx/image/image_source.h"

// Pixels that the data never sets stay black. Runs past the end of a row are clipped, and data
// past the last row or a stream that ends early ends the picture; nothing is written outside it.
void DecodeBmpRle(ImageSource& source, const BmpHeader& header, FittedCanvas& canvas);
