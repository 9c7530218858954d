#pragma once
// The Orientation tag of a JPEG's Exif block, and the turn it asks for: how the stored picture
// maps onto the upright one. Cameras store portraits as landscapes and let this tag turn them.
#include <cstdint>
#include <span>

#include "gfx/geometry.h"

// What the upright picture's pixel (x, y) shows of the stored picture, as the tag's values 1-8
// say: with swapAxes, x runs along the stored rows' axis and y along the stored columns'; then
// each stored axis may run backwards.
struct Orientation {
    bool swapAxes = false;
    bool flipColumns = false; // stored columns taken right to left
    bool flipRows = false;    // stored rows taken bottom to top

    static Orientation FromTag(int tag);
    bool IsIdentity() const { return !swapAxes && !flipColumns && !flipRows; }
    // The upright size of a stored picture, or the stored size of an upright one.
    Size Turn(Size size) const { return swapAxes ? Size{size.height, size.width} : size; }
};

// Whether an APP1 segment's payload is an Exif block (others hold XMP and the like).
bool IsExifBlock(std::span<const std::uint8_t> app1);

// The Orientation tag (1 to 8) of an APP1 segment's payload ("Exif\0\0" and a TIFF block), read
// from its first directory. 1 for anything else: no Exif, no tag, or a block that is truncated,
// loops or lies about its sizes. Never throws.
int ExifOrientationTag(std::span<const std::uint8_t> app1);
