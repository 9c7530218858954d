#pragma once
// Writes a bitmap as an uncompressed 24-bit BMP file, for looking at frames with any viewer.
#include <string>

#include "gfx/bitmap.h"

// Throws Error when the file cannot be written.
void WriteBmpFile(const std::string& path, const Bitmap& bitmap);
