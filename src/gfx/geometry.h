#pragma once
// Small geometry value types for the raster code.
#include <algorithm>
#include <cstdint>

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    [[nodiscard]] bool IsEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    [[nodiscard]] bool IsEmpty() const { return width <= 0 || height <= 0; }
    [[nodiscard]] int Right() const { return x + width; }
    [[nodiscard]] int Bottom() const { return y + height; }
    [[nodiscard]] bool Contains(Point p) const { return p.x >= x && p.y >= y && p.x < Right() && p.y < Bottom(); }

    [[nodiscard]] Rect Intersected(const Rect& other) const
    {
        const int left = std::max(x, other.x);
        const int top = std::max(y, other.y);
        const int right = std::min(Right(), other.Right());
        const int bottom = std::min(Bottom(), other.Bottom());
        if (right <= left || bottom <= top) return Rect{left, top, 0, 0};
        return Rect{left, top, right - left, bottom - top};
    }
    [[nodiscard]] Rect Translated(int dx, int dy) const { return Rect{x + dx, y + dy, width, height}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};
