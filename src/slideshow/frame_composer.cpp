#include "slideshow/frame_composer.h"

#include <algorithm>
#include <cstring>

#include "gfx/raster.h"

namespace {

// The part of the frame the picture covers.
Rect PictureArea(const Bitmap& frame, const FrameLayout& layout)
{
    if (!layout.picture || layout.picture->IsEmpty()) return Rect{};
    const Rect area = Rect{layout.pictureAt.x, layout.pictureAt.y, layout.picture->Width(), layout.picture->Height()}
                          .Intersected(frame.Bounds());
    return area.IsEmpty() ? Rect{} : area;
}

// The first row the band or the text may touch; the frame's height without the overlay.
int OverlayTop(const Bitmap& frame, const FrameLayout& layout)
{
    if (!layout.overlay) return frame.Height();
    return std::clamp(layout.bandArea.y - FrameComposer::kOverlayReach, 0, frame.Height());
}

void DrawOverlay(Bitmap& frame, const FrameLayout& layout, std::span<const OverlayLine> lines, const LinePainter& paint)
{
    if (layout.band) BlendBlock(frame, layout.bandArea, *layout.band, Point{0, 0}, kInfoBandAlpha);
    for (const OverlayLine& line : lines) paint(frame, line);
}

// Copies `count` pixels where they differ; true when any did.
bool CopyIfChanged(Pixel* to, const Pixel* from, int count)
{
    const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(Pixel);
    if (std::memcmp(to, from, bytes) == 0) return false;
    std::memcpy(to, from, bytes);
    return true;
}

Rect Union(const Rect& a, const Rect& b)
{
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    return Rect{left, top, std::max(a.Right(), b.Right()) - left, std::max(a.Bottom(), b.Bottom()) - top};
}

} // namespace

Point CentredAt(Size frame, Size picture)
{
    return Point{(frame.width - picture.width) / 2, (frame.height - picture.height) / 2};
}

void ComposeFrame(Bitmap& frame, const FrameLayout& layout, std::span<const OverlayLine> lines,
                  const LinePainter& paint)
{
    FillRect(frame, frame.Bounds(), kBlack);
    const Rect pictureArea = PictureArea(frame, layout);
    if (!pictureArea.IsEmpty()) {
        CopyBlock(frame, pictureArea, *layout.picture,
                  Point{pictureArea.x - layout.pictureAt.x, pictureArea.y - layout.pictureAt.y});
    }
    if (layout.overlay) DrawOverlay(frame, layout, lines, paint);
}

Rect FrameComposer::Compose(Bitmap& frame, const FrameLayout& layout, const LineSource& lines, const LinePainter& paint)
{
    if (frame.IsEmpty()) {
        m_Valid = false;
        return Rect{};
    }
    const Rect pictureArea = PictureArea(frame, layout);
    const Point pictureFrom{pictureArea.x - layout.pictureAt.x, pictureArea.y - layout.pictureAt.y};
    const int overlayTop = OverlayTop(frame, layout);
    const bool rebuild = !m_Valid || frame.Data() != m_FrameData || frame.GetSize() != m_FrameSize ||
                         pictureArea != m_PictureArea || overlayTop != m_OverlayTop;
    // Left invalid until the frame is whole again, in case drawing the text throws.
    m_Valid = false;

    Rect changed;
    bool overlayChanged = rebuild;
    if (rebuild) {
        FillRect(frame, frame.Bounds(), kBlack);
        if (!pictureArea.IsEmpty()) CopyBlock(frame, pictureArea, *layout.picture, pictureFrom);
        m_OverlayBase = Bitmap(frame.Width(), frame.Height() - overlayTop, kBlack);
        CopyBlock(m_OverlayBase, m_OverlayBase.Bounds(), frame, Point{0, overlayTop});
        changed = frame.Bounds();
    } else if (!pictureArea.IsEmpty()) {
        // The picture's rows above the overlay are compared with the frame itself, those in it
        // with the overlay's base.
        int firstChanged = -1;
        int lastChanged = -1;
        for (int y = pictureArea.y; y < pictureArea.Bottom(); ++y) {
            const Pixel* from = layout.picture->Row(y - layout.pictureAt.y) + pictureFrom.x;
            if (y < overlayTop) {
                if (CopyIfChanged(frame.Row(y) + pictureArea.x, from, pictureArea.width)) {
                    if (firstChanged < 0) firstChanged = y;
                    lastChanged = y;
                }
            } else if (CopyIfChanged(m_OverlayBase.Row(y - overlayTop) + pictureArea.x, from, pictureArea.width)) {
                overlayChanged = true;
            }
        }
        if (firstChanged >= 0)
            changed = Rect{pictureArea.x, firstChanged, pictureArea.width, lastChanged - firstChanged + 1};
    }

    std::vector<OverlayLine> newLines;
    if (layout.overlay) newLines = lines();
    const bool bandDrawn = layout.overlay && layout.band != nullptr;
    overlayChanged = overlayChanged || bandDrawn != m_BandDrawn || (bandDrawn && layout.bandArea != m_BandArea) ||
                     newLines != m_Lines;
    if (overlayChanged && overlayTop < frame.Height()) {
        CopyBlock(frame, Rect{0, overlayTop, frame.Width(), frame.Height() - overlayTop}, m_OverlayBase, Point{0, 0});
        DrawOverlay(frame, layout, newLines, paint);
        changed = Union(changed, Rect{0, overlayTop, frame.Width(), frame.Height() - overlayTop});
    }

    m_FrameData = frame.Data();
    m_FrameSize = frame.GetSize();
    m_PictureArea = pictureArea;
    m_OverlayTop = overlayTop;
    m_BandDrawn = bandDrawn;
    m_BandArea = layout.bandArea;
    m_Lines = std::move(newLines);
    m_Valid = true;
    return changed;
}
