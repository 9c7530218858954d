#include "slideshow/fit_size.h"

#include <cmath>
#include <limits>

namespace {

// Truncates toward zero into [1, limit]; the limit is the screen edge being fitted to.
int TruncateToPixels(double value, int limit)
{
    if (!(value >= 1.0)) return 1; // also catches NaN
    if (value >= static_cast<double>(limit)) return limit;
    return static_cast<int>(std::trunc(value));
}

} // namespace

Size FitSize(Size image, Size screen)
{
    const int w = image.width;
    const int h = image.height;
    const int screenWidth = screen.width;
    const int screenHeight = screen.height;
    if (w <= screenWidth && h <= screenHeight) return image;
    if (w <= 0 || h <= 0 || screenWidth <= 0 || screenHeight <= 0) {
        // Nothing sensible to scale: an empty image or an empty screen gives an empty picture.
        return Size{0, 0};
    }
    const double screenRatio = static_cast<double>(screenWidth) / screenHeight;
    const double imageRatio = static_cast<double>(w) / h;
    if (screenRatio >= imageRatio) {
        return Size{TruncateToPixels(imageRatio * screenHeight, screenWidth), screenHeight};
    }
    return Size{screenWidth, TruncateToPixels((static_cast<double>(h) / w) * screenWidth, screenHeight)};
}
