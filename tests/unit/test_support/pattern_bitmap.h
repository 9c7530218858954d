#pragma once
// Test pictures whose every pixel names its own position, so that a pixel copied to the wrong
// place, or from the wrong picture, is caught.
#include <cstdint>

#include "gfx/bitmap.h"

// Pixel (x, y) of a pattern with the given tag (0 to 15): tag in bits 20-23, y in bits 10-19,
// x in bits 0-9. Positions are unique below 1024 x 1024.
inline Pixel PatternPixel(int x, int y, int tag)
{
    return (static_cast<Pixel>(tag & 0xF) << 20) | (static_cast<Pixel>(y & 0x3FF) << 10) |
           static_cast<Pixel>(x & 0x3FF);
}

inline Bitmap MakePattern(int width, int height, int tag)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) bitmap.At(x, y) = PatternPixel(x, y, tag);
    }
    return bitmap;
}

// A small deterministic generator for test cases.
class TestRandom {
public:
    explicit TestRandom(std::uint32_t seed) : m_State(seed) {}
    // A value in [low, high].
    int Between(int low, int high)
    {
        m_State = m_State * 1664525u + 1013904223u;
        return low + static_cast<int>((m_State >> 8) % static_cast<std::uint32_t>(high - low + 1));
    }

private:
    std::uint32_t m_State;
};
