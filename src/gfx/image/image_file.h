#pragma once
// Photo readers: JPEG (through libjpeg) and BMP, loaded straight into the fitted size.
#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>
#include <string>

#include "gfx/bitmap.h"
#include "gfx/error.h"
#include "gfx/geometry.h"

enum class ImageFormat { Jpeg, Bmp };

// Given the image's own size, returns the size to load it at.
using FitFunction = std::function<Size(Size imageSize)>;

// Thrown by a load whose stop was requested; the readers look between rows and between the
// passes over a file of several scans.
class LoadStopped : public Error {
public:
    LoadStopped() : Error("The load was stopped") {}
};

// Loads the image at the size that fit() returns, pixel-identical to decoding the whole image
// and then stretching it (nearest neighbour) to that size, while holding little more than the
// fitted picture in memory. Throws Error with a readable message on any fault of the file.
Bitmap LoadFittedImage(const std::string& path, ImageFormat format, const FitFunction& fit, std::stop_token stop = {});
Bitmap LoadFittedImage(std::span<const std::uint8_t> bytes, ImageFormat format, const FitFunction& fit,
                       std::stop_token stop = {});
