#include "config/dialog_artwork.h"

#include "config/dialog_artwork_files.h"
#include "gfx/image/image_file.h"

namespace {

// The pictures are drawn at the size the dialog shows them.
Bitmap LoadAtOwnSize(std::span<const std::uint8_t> file)
{
    return LoadFittedImage(file, ImageFormat::Bmp, [](Size imageSize) { return imageSize; });
}

} // namespace

Bitmap BannerPicture() { return LoadAtOwnSize(BannerBmpFile()); }
Bitmap SaveButtonPicture() { return LoadAtOwnSize(SaveBmpFile()); }
Bitmap CloseButtonPicture() { return LoadAtOwnSize(CloseBmpFile()); }
