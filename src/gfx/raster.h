#pragma once
// Raster operations between bitmaps, with the clipping the transitions rely on: a pixel is
// written only when its source lies inside the source bitmap and its destination inside the
// destination bitmap; everything else keeps its content. Rectangles may start at negative
// positions, reach past either bitmap or have zero sizes: what lies outside is not drawn.
#include <cstdint>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"

// Copies the to.width x to.height block at `from` in src to `to` in dst, one to one.
// src and dst may be the same bitmap; overlapping blocks are copied as if through a buffer.
void CopyBlock(Bitmap& dst, Rect to, const Bitmap& src, Point from);

// Copies the `from` rectangle of src into the `to` rectangle of dst, stretched by nearest
// neighbour (rows and columns dropped or repeated, no smoothing). With equal sizes it is the
// block copy. Rectangles of zero or negative size copy nothing.
void StretchCopy(Bitmap& dst, Rect to, const Bitmap& src, Rect from);

// The source index that destination index dst (0 <= dst < dstLength) takes in a stretch of
// srcLength pixels to dstLength pixels: floor((2 * dst + 1) * srcLength / (2 * dstLength)),
// the source pixel under the centre of the destination pixel. Image readers that scale while
// decoding pick their rows and columns through this, so that they match StretchCopy exactly.
int StretchSourceIndex(int dst, int srcLength, int dstLength);

// Blends the to.width x to.height block at `from` in src over `to` in dst with a constant
// alpha: each colour channel becomes (src * alpha + dst * (255 - alpha) + 127) / 255, the
// exact quotient rounded to nearest. The unused byte of dst is kept. Clipped as CopyBlock.
void BlendBlock(Bitmap& dst, Rect to, const Bitmap& src, Point from, std::uint8_t alpha);

// Fills the part of `area` that lies inside dst with one colour.
void FillRect(Bitmap& dst, Rect area, Pixel color);
