#pragma once
// The fade of the outgoing photo to an even dark grey before the next one comes in.
#include "gfx/bitmap.h"
#include "slideshow/effect_host.h"

// One darkening pass over the three colour bytes of every pixel: a byte below 10 becomes 5,
// any other loses 10. The unused byte is kept.
void DarkenColourBytes(Bitmap& bitmap);

// Darkens the outgoing photo (the window's m_PhotoBitmap) in place in 26 passes, copying it
// onto m_BackBuffer at (0, 0) and presenting after each; stops as soon as WaitStep says so.
// Nothing happens before the first photo (width 0). Errors end the fade quietly.
void FadeOutPhoto(EffectHost& host, Bitmap& photo, Bitmap& backBuffer);
