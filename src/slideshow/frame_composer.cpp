#include "slideshow/frame_composer.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

// The lines differ in the clock's text alone, the clock being the last line of both.
bool OnlyClockDiffers(const std::vector<OverlayLine>& before, const std::vector<OverlayLine>& after)
{
    if (before.empty() || before.size() != after.size()) return false;
    const OverlayLine& was = before.back();
    const OverlayLine& is = after.back();
    if (was.kind != OverlayLineKind::Clock || is.kind != OverlayLineKind::Clock || was.face != is.face ||
        was.points != is.points || was.at != is.at || was.text == is.text)
        return false;
    return std::equal(before.begin(), before.end() - 1, after.begin());
}

// The smallest rectangle holding every pixel of the frame's rows from `top` on that differs
// from `layer`, which holds those rows.
Rect DifferingArea(const Bitmap& frame, int top, const Bitmap& layer)
{
    int left = frame.Width();
    int right = -1;
    int first = -1;
    int last = -1;
    const auto bytes = static_cast<std::size_t>(frame.Width()) * sizeof(Pixel);
    for (int y = top; y < frame.Height(); ++y) {
        const Pixel* is = frame.Row(y);
        const Pixel* was = layer.Row(y - top);
        if (std::memcmp(is, was, bytes) == 0) continue;
        if (first < 0) first = y;
        last = y;
        int x = 0;
        while (is[x] == was[x]) ++x;
        left = std::min(left, x);
        x = frame.Width() - 1;
        while (is[x] == was[x]) --x;
        right = std::max(right, x);
    }
    return first < 0 ? Rect{} : Rect{left, first, right - left + 1, last - first + 1};
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
    } else if (!pictureArea.IsEmpty() && !layout.pictureUnchanged) {
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
    overlayChanged = overlayChanged || bandDrawn != m_BandDrawn || (bandDrawn && layout.bandArea != m_BandArea);
    const bool onlyClock = !overlayChanged && OnlyClockDiffers(m_Lines, newLines);
    const bool clockLayerValid = std::exchange(m_ClockLayerValid, false);
    bool keepClockLayer = clockLayerValid && !overlayChanged && newLines == m_Lines;
    if (onlyClock && clockLayerValid) {
        changed = Union(changed, RedrawClock(frame, newLines.back(), paint));
        keepClockLayer = true;
    } else if ((overlayChanged || newLines != m_Lines) && overlayTop < frame.Height()) {
        const Rect overlayArea{0, overlayTop, frame.Width(), frame.Height() - overlayTop};
        CopyBlock(frame, overlayArea, m_OverlayBase, Point{0, 0});
        if (onlyClock) {
            // The same pixels as DrawOverlay, with the layer taken before the clock.
            DrawOverlay(frame, layout, std::span(newLines).first(newLines.size() - 1), paint);
            m_ClockLayer = Bitmap(overlayArea.width, overlayArea.height);
            CopyBlock(m_ClockLayer, m_ClockLayer.Bounds(), frame, Point{0, overlayTop});
            paint(frame, newLines.back());
            m_ClockArea = DifferingArea(frame, overlayTop, m_ClockLayer);
            keepClockLayer = true;
        } else {
            DrawOverlay(frame, layout, newLines, paint);
        }
        changed = Union(changed, overlayArea);
    }

    m_FrameData = frame.Data();
    m_FrameSize = frame.GetSize();
    m_PictureArea = pictureArea;
    m_OverlayTop = overlayTop;
    m_BandDrawn = bandDrawn;
    m_BandArea = layout.bandArea;
    m_Lines = std::move(newLines);
    m_ClockLayerValid = keepClockLayer;
    m_Valid = true;
    return changed;
}

Rect FrameComposer::RedrawClock(Bitmap& frame, const OverlayLine& clock, const LinePainter& paint)
{
    if (!m_ClockArea.IsEmpty())
        CopyBlock(frame, m_ClockArea, m_ClockLayer, Point{m_ClockArea.x, m_ClockArea.y - m_OverlayTop});
    paint(frame, clock);
    const Rect drawn = DifferingArea(frame, m_OverlayTop, m_ClockLayer);
    return Union(std::exchange(m_ClockArea, drawn), drawn);
}
