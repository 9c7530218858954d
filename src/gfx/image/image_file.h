#pragma once
// Photo readers: JPEG (through libjpeg) and BMP, loaded straight into the fitted size.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"

enum class ImageFormat { Jpeg, Bmp };

// Given the image's own size, returns the size to load it at.
using FitFunction = std::function<Size(Size imageSize)>;

// Loads the image at the size that fit() returns, pixel-identical to decoding the whole image
// and then stretching it (nearest neighbour) to that size, while holding little more than the
// fitted picture in memory. Throws Error with a readable message on any fault of the file.
Bitmap LoadFittedImage(const std::string& path, ImageFormat format, const FitFunction& fit);
Bitmap LoadFittedImage(std::span<const std::uint8_t> bytes, ImageFormat format, const FitFunction& fit);
