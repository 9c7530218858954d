#pragma once
// The composition of a screen frame: the picture centred on black, then, when the overlay is
// on, the white band blended over it and the lines of text drawn on top.
//
// ComposeFrame builds a frame from scratch. FrameComposer builds the same pixels into a frame
// it composed before, touching only what changed, and says which rectangle that was, so that
// only that part need be shown again.
#include <functional>
#include <span>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "slideshow/info_overlay.h"

struct FrameLayout {
    // The picture and where its top-left corner goes; null or empty: no picture.
    const Bitmap* picture = nullptr;
    Point pictureAt;
    // The band and the lines are drawn only with the overlay on.
    bool overlay = false;
    // The band bitmap (null: no band, the lines still drawn) and where it is blended.
    const Bitmap* band = nullptr;
    Rect bandArea;
    // The picture holds the pixels it held at the previous composition: it is not compared.
    bool pictureUnchanged = false;
};

// Draws one line of text onto the frame. Text drawing belongs to the OS.
using LinePainter = std::function<void(Bitmap& frame, const OverlayLine& line)>;
// Gives the lines of the frame; asked once per frame, after the picture is in place.
using LineSource = std::function<std::vector<OverlayLine>()>;

// Where a picture of size `picture` stands centred in a frame of size `frame`: each half of the
// difference truncated, so an odd pixel goes to the right and bottom margins.
Point CentredAt(Size frame, Size picture);

void ComposeFrame(Bitmap& frame, const FrameLayout& layout, std::span<const OverlayLine> lines,
                  const LinePainter& paint);

class FrameComposer {
public:
    // How far above the band's top a line's glyphs may reach. Lines start at or below the
    // band's top; everything they and the band touch lies in the rows from this far above the
    // band down to the bottom of the frame, which are recomposed together.
    static constexpr int kOverlayReach = 32;

    // Composes into `frame` and returns the rectangle that differs from what it held after the
    // previous call (all of it the first time, or for another frame or size). `frame` must not
    // be written by anyone else in between, and the band bitmap keeps its pixels. Lines are only
    // asked for with the overlay on.
    Rect Compose(Bitmap& frame, const FrameLayout& layout, const LineSource& lines, const LinePainter& paint);

    // Forgets what was composed: the next frame is built from scratch.
    void Reset() { m_Valid = false; }

private:
    bool m_Valid = false;
    const Pixel* m_FrameData = nullptr;
    Size m_FrameSize;
    Rect m_PictureArea;
    int m_OverlayTop = 0;
    // The overlay rows as black and picture alone, before the band and the text.
    Bitmap m_OverlayBase;
    bool m_BandDrawn = false;
    Rect m_BandArea;
    std::vector<OverlayLine> m_Lines;
    // When only the clock changes, its old rectangle is restored from the overlay as it was
    // before the clock was drawn, the new time drawn, and only the rectangles the two cover
    // are shown. The layer is taken at the first such change after any other.
    Rect RedrawClock(Bitmap& frame, const OverlayLine& clock, const LinePainter& paint);
    Bitmap m_ClockLayer;
    bool m_ClockLayerValid = false;
    Rect m_ClockArea;
};
