#include "config/dialog_artwork.h"

#include <cstdint>

#include "config/dialog_artwork_files.h"
#include "gfx/image/image_file.h"
#include "gfx/raster.h"

namespace {

constexpr Pixel kTransparent = MakePixel(255, 0, 255);

// The pictures are drawn at the size the dialog shows them.
Bitmap LoadAtOwnSize(std::span<const std::uint8_t> file)
{
    return LoadFittedImage(file, ImageFormat::Bmp, [](Size imageSize) { return imageSize; });
}

} // namespace

Bitmap BannerPicture() { return LoadAtOwnSize(BannerBmpFile()); }
Bitmap SaveButtonPicture() { return LoadAtOwnSize(SaveBmpFile()); }
Bitmap CloseButtonPicture() { return LoadAtOwnSize(CloseBmpFile()); }

Bitmap FitIntoArea(const Bitmap& picture, Size area)
{
    Bitmap placed(area.width, area.height, kTransparent);
    if (picture.IsEmpty() || area.width <= 0 || area.height <= 0) return placed;
    const auto wide = std::int64_t{area.width} * picture.Height();
    const auto high = std::int64_t{area.height} * picture.Width();
    const Rect to = wide <= high ? Rect{0, 0, area.width, static_cast<int>(wide / picture.Width())}
                                 : Rect{0, 0, static_cast<int>(high / picture.Height()), area.height};
    StretchCopy(placed, to, picture, picture.Bounds());
    return placed;
}

Bitmap PreparedPicture(DialogPicture picture)
{
    switch (picture) {
    case DialogPicture::Banner: {
        const Rect place = ControlOfKind(ConfigControls(), ControlKind::Picture).place;
        return FitIntoArea(BannerPicture(), {place.width, place.height});
    }
    case DialogPicture::SaveButton: return FitIntoArea(SaveButtonPicture(), kButtonPictureSize);
    case DialogPicture::CloseButton: return FitIntoArea(CloseButtonPicture(), kButtonPictureSize);
    case DialogPicture::None: break;
    }
    return {};
}
