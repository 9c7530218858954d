#pragma once
// The fade of the outgoing photo to an even dark grey before the next one comes in.
#include "platform/bitmap.h"
#include "slideshow/effect_host.h"

// One darkening pass over the three colour bytes of every pixel: a byte below 10 becomes 5,
// any other loses 10. The unused byte is kept.
void DarkenColourBytes(Bitmap& bitmap);

// Darkens m_PhotoBitmap in 26 passes, copying it onto m_BackBuffer at (0, 0) and presenting
// after each; stops as soon as WaitStep says so. Errors end the fade quietly.
void FadeOutPhoto(EffectHost& host, Bitmap& m_PhotoBitmap, Bitmap& m_BackBuffer);
