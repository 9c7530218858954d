#include "slideshow/transitions.h"

#include <cstdint>
#include <exception>

#include "gfx/raster.h"

namespace {

// floor(i * h / w), the product formed in 64 bits; 0 for an empty photo.
int Proportion(int i, int h, int w)
{
    return w > 0 ? static_cast<int>(std::int64_t{i} * h / w) : 0;
}

// floor(i * h / w + 1/2): the quotient rounded, exact halves upwards.
int RoundedProportion(int i, int h, int w)
{
    return w > 0 ? static_cast<int>((2 * std::int64_t{i} * h + w) / (2 * std::int64_t{w})) : 0;
}

// The rectangle of 2 * halfWidth x 2 * halfHeight centred as BoxFromCentre centres it.
Rect CentredBox(int w, int h, int halfWidth, int halfHeight)
{
    return Rect{w / 2 - halfWidth, h / 2 - halfHeight, 2 * halfWidth, 2 * halfHeight};
}

} // namespace

const TransitionEffects::Effect TransitionEffects::kEffects[kEffectCount] = {
    {"InterlacedSlide", &TransitionEffects::InterlacedSlide},
    {"BandSlide", &TransitionEffects::BandSlide},
    {"SlideFromLeft", &TransitionEffects::SlideFromLeft},
    {"SlideFromTopRight", &TransitionEffects::SlideFromTopRight},
    {"LeftBandDrop", &TransitionEffects::LeftBandDrop},
    {"RowsToCentre", &TransitionEffects::RowsToCentre},
    {"ColumnsToCentre", &TransitionEffects::ColumnsToCentre},
    {"HorizontalBlinds", &TransitionEffects::HorizontalBlinds},
    {"VerticalBlinds", &TransitionEffects::VerticalBlinds},
    {"OpenFromCentre", &TransitionEffects::OpenFromCentre},
    {"BoxFromCentre", &TransitionEffects::BoxFromCentre},
    {"Dissolve", &TransitionEffects::Dissolve},
    {"NineTiles", &TransitionEffects::NineTiles},
};

void TransitionEffects::RunEffect(unsigned style)
{
    if (style >= kEffectCount) return;
    const auto effect = kEffects[style].run;
    try {
        m_Size = m_PhotoBitmap.GetSize();
        if ((this->*effect)() == EffectEnd::Finished) {
            // At some sizes the last step leaves edge rows or columns of the previous picture,
            // or tiles one pixel off; the picture that stays on screen is the whole photo.
            Uncover(m_PhotoBitmap.Bounds());
        }
    } catch (const std::exception&) {
        // A failed step ends the transition quietly; the slide show goes on.
    }
}

std::string_view TransitionEffects::EffectName(unsigned style)
{
    return style < kEffectCount ? kEffects[style].name : std::string_view{};
}

template <typename Step>
TransitionEffects::EffectEnd TransitionEffects::Animate(int last, int stride, Step step)
{
    m_Host.AnimationStarts();
    for (int counter = 0; counter <= last; counter += stride) {
        // Once WaitStep says stop, the window may have released the bitmaps: touch nothing.
        if (!m_Host.WaitStep()) return EffectEnd::Stopped;
        step(counter);
        m_Host.PresentStep(counter > last - stride);
    }
    return EffectEnd::Finished;
}

void TransitionEffects::Copy(Rect to, Point from)
{
    CopyBlock(m_BackBuffer, to, m_PhotoBitmap, from);
}

void TransitionEffects::CopyRow(int to, int from)
{
    StretchCopy(m_BackBuffer, Rect{0, to, m_Size.width, 1}, m_PhotoBitmap, Rect{0, from, m_Size.width, 1});
}

void TransitionEffects::CopyColumn(int column)
{
    StretchCopy(m_BackBuffer, Rect{column, 0, 1, m_Size.height}, m_PhotoBitmap, Rect{column, 0, 1, m_Size.height});
}

void TransitionEffects::UncoverRing(Rect area, Rect inner)
{
    if (inner.IsEmpty()) {
        Uncover(area);
        return;
    }
    Uncover(Rect{area.x, area.y, area.width, inner.y - area.y});
    Uncover(Rect{area.x, inner.Bottom(), area.width, area.Bottom() - inner.Bottom()});
    Uncover(Rect{area.x, inner.y, inner.x - area.x, inner.height});
    Uncover(Rect{inner.Right(), inner.y, area.Right() - inner.Right(), inner.height});
}

// The bottom of the photo slides down from the top edge on the odd rows while its top slides
// up from the bottom edge on the others, both bands rewritten in full at every step.
TransitionEffects::EffectEnd TransitionEffects::InterlacedSlide()
{
    const int H = m_Size.height;
    return Animate(H, 2, [this, H](int k) {
        for (int n = k; n >= 2; n -= 2) {
            CopyRow(n - 1, H - k + n - 1);
            CopyRow(H - n, k - n);
        }
    });
}

// Four bands a quarter of the height high, entering alternately from the left and the right.
TransitionEffects::EffectEnd TransitionEffects::BandSlide()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    const int q = H / 4;
    return Animate(W, 1, [this, W, H, q](int i) {
        Copy(Rect{0, 0, i, q}, Point{W - i, 0});
        Copy(Rect{W - i, q, i, q}, Point{0, q});
        Copy(Rect{0, H / 2, i, q}, Point{W - i, H / 2});
        Copy(Rect{W - i, (3 * H) / 4, i, q}, Point{0, (3 * H) / 4});
    });
}

TransitionEffects::EffectEnd TransitionEffects::SlideFromLeft()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    return Animate(W, 1, [this, W, H](int i) { Copy(Rect{0, 0, i, H}, Point{W - i, 0}); });
}

// The photo's bottom-left corner enters at the top-right corner and moves along the diagonal.
TransitionEffects::EffectEnd TransitionEffects::SlideFromTopRight()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    return Animate(W, 1, [this, W, H](int i) {
        const int c = Proportion(i, H, W);
        Copy(Rect{W - i, 0, i, c}, Point{0, H - c});
    });
}

// A band widening from the left; inside it row y shows photo row y + W - i, so the picture
// drops into place, and stays unchanged while that source lies below the photo.
TransitionEffects::EffectEnd TransitionEffects::LeftBandDrop()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    return Animate(W, 1, [this, W, H](int i) { Copy(Rect{0, 0, i, H}, Point{0, W - i}); });
}

// After step i rows 0 ... i and H - i ... H - 1 show the photo in place. The earlier steps of
// this run have uncovered all but rows i and H - i, and copying a pixel in place again changes
// nothing, so each step copies just those two rows.
TransitionEffects::EffectEnd TransitionEffects::RowsToCentre()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    return Animate(H / 2, 1, [this, W, H](int i) {
        Uncover(Rect{0, i, W, 1});
        if (i > 0) Uncover(Rect{0, H - i, W, 1});
    });
}

TransitionEffects::EffectEnd TransitionEffects::ColumnsToCentre()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    return Animate(W / 2, 1, [this, W, H](int i) {
        Uncover(Rect{i, 0, 1, H});
        if (i > 0) Uncover(Rect{W - i, 0, 1, H});
    });
}

// Seventeen strips s rows apart; row -1 at step 0 and rows past the bottom copy nothing.
TransitionEffects::EffectEnd TransitionEffects::HorizontalBlinds()
{
    const int s = m_Size.height / 16;
    return Animate(s, 1, [this, s](int i) {
        for (int j = 0; j <= 16; ++j) CopyRow(j * s + i - 1, j * s + i - 1);
    });
}

TransitionEffects::EffectEnd TransitionEffects::VerticalBlinds()
{
    const int s = m_Size.width / 16;
    return Animate(s, 1, [this, s](int i) {
        for (int j = 0; j <= 16; ++j) CopyColumn(j * s + i - 1);
    });
}

// The opening of step i, columns W/2 - i ... W/2 + i - 1, holds the previous step's opening,
// already in place: only its two outer columns are new.
TransitionEffects::EffectEnd TransitionEffects::OpenFromCentre()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    return Animate(W / 2, 1, [this, W, H](int i) {
        if (i == 0) return;
        Uncover(Rect{W / 2 - i, 0, 1, H});
        Uncover(Rect{W / 2 + i - 1, 0, 1, H});
    });
}

// The box of step i holds the previous step's box, already in place: only the ring between
// them is copied.
TransitionEffects::EffectEnd TransitionEffects::BoxFromCentre()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    return Animate(W / 2, 1, [this, W, H](int i) {
        const Rect box = CentredBox(W, H, i, Proportion(i, H, W));
        const Rect previous = i > 0 ? CentredBox(W, H, i - 1, Proportion(i - 1, H, W)) : Rect{};
        UncoverRing(box, previous);
    });
}

// Each step blends the photo over the previous step's result, alpha 0, 2, ..., 254.
TransitionEffects::EffectEnd TransitionEffects::Dissolve()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    return Animate(127, 1, [this, W, H](int i) {
        BlendBlock(m_BackBuffer, Rect{0, 0, W, H}, m_PhotoBitmap, Point{0, 0}, static_cast<std::uint8_t>(2 * i));
    });
}

// Eight outer tiles slide in from their edge or corner while the centre tile grows in place.
// Copies 6 and 7 are taller than the tile on purpose and are cut at the bottom edge.
TransitionEffects::EffectEnd TransitionEffects::NineTiles()
{
    const int W = m_Size.width;
    const int H = m_Size.height;
    const int T = W / 3;
    const int T2 = (2 * W) / 3;
    const int U = H / 3;
    const int U2 = (2 * H) / 3;
    return Animate(T + 1, 1, [=, this](int i) {
        const int c = RoundedProportion(i, H, W);
        Copy(Rect{0, 0, i, c}, Point{T - i, U - c});
        Copy(Rect{T, 0, T, c}, Point{T, U - c});
        Copy(Rect{W - i, 0, i, c}, Point{T2, U - c});
        Copy(Rect{0, U, i, U}, Point{T - i, U});
        Copy(Rect{W - i, U, i, U}, Point{T2, U});
        Copy(Rect{0, H - c, i, U}, Point{T - i, U2});
        Copy(Rect{T, H - c, T, H - c}, Point{T, U2});
        Copy(Rect{W - i, H - c, i, c}, Point{T2, U2});
        // The centre of the previous step is still in place, except where this step's outer
        // tiles, which reach into it at the last steps, have just drawn over it.
        const Rect centre{W / 2 - i / 2, H / 2 - c / 2, i, c};
        const int p = i > 0 ? RoundedProportion(i - 1, H, W) : 0;
        const Rect previous = i > 0 ? Rect{W / 2 - (i - 1) / 2, H / 2 - p / 2, i - 1, p} : Rect{};
        UncoverRing(centre, previous);
        for (const Rect tile : {Rect{0, 0, i, c}, Rect{T, 0, T, c}, Rect{W - i, 0, i, c}, Rect{0, U, i, U},
                                Rect{W - i, U, i, U}, Rect{0, H - c, i, U}, Rect{T, H - c, T, H - c},
                                Rect{W - i, H - c, i, c}}) {
            Uncover(tile.Intersected(previous));
        }
    });
}
