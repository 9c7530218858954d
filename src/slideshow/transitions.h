#pragma once
// The thirteen transitions that bring a new photo onto the screen, one small function each,
// dispatched from one table by RunEffect. They build the picture step by step in m_BackBuffer
// from m_PhotoBitmap and leave waiting and presenting to the host.
#include <string_view>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "slideshow/effect_host.h"

class TransitionEffects {
public:
    static constexpr unsigned kEffectCount = 13;

    // Works on the window's m_PhotoBitmap (the new photo, read only) and m_BackBuffer, which
    // must already have the photo's size and hold the previous picture.
    TransitionEffects(EffectHost& host, const Bitmap& photo, Bitmap& backBuffer)
        : m_Host(host), m_PhotoBitmap(photo), m_BackBuffer(backBuffer)
    {
    }

    // Runs effect `style` until its last step, or until WaitStep says stop, or until an error,
    // which ends it quietly. A style of kEffectCount or more does nothing. An effect that runs
    // to its end leaves exactly the photo in m_BackBuffer; a stopped one, its partial picture.
    void RunEffect(unsigned style);

    // The effect's name, or an empty view for a number outside the table.
    static std::string_view EffectName(unsigned style);

private:
    enum class EffectEnd { Finished, Stopped };

    EffectEnd InterlacedSlide();
    EffectEnd BandSlide();
    EffectEnd SlideFromLeft();
    EffectEnd SlideFromTopRight();
    EffectEnd LeftBandDrop();
    EffectEnd RowsToCentre();
    EffectEnd ColumnsToCentre();
    EffectEnd HorizontalBlinds();
    EffectEnd VerticalBlinds();
    EffectEnd OpenFromCentre();
    EffectEnd BoxFromCentre();
    EffectEnd Dissolve();
    EffectEnd NineTiles();

    struct Effect {
        std::string_view name;
        EffectEnd (TransitionEffects::*run)();
    };
    static const Effect kEffects[kEffectCount];

    // The step loop: for counter = 0, stride, ... up to last: WaitStep, step(counter),
    // PresentFrame. Stops before the step when WaitStep returns false.
    template <typename Step>
    EffectEnd Animate(int last, int stride, Step step);

    // Clipped copy of the photo's block at `from` to `to` in the back buffer.
    void Copy(Rect to, Point from);
    // The photo's block under `area` copied to the same place.
    void Uncover(Rect area) { Copy(area, Point{area.x, area.y}); }
    void CopyRow(int to, int from);
    void CopyColumn(int column);
    // Copies in place the part of `area` that lies outside `inner`, a rectangle inside it.
    void UncoverRing(Rect area, Rect inner);

    EffectHost& m_Host;
    const Bitmap& m_PhotoBitmap;
    Bitmap& m_BackBuffer;
    // The photo's size, fixed when an effect starts: it sets the geometry and the step count.
    Size m_Size;
};
