#pragma once
// The framework's extent: a width and a height.
#include "platform/core/WinTypes.h"

struct SIZE {
    LONG cx;
    LONG cy;
};

class CSize : public SIZE
{
public:
    constexpr CSize() : SIZE{0, 0} {}
    constexpr CSize(int x, int y) : SIZE{x, y} {}
    constexpr CSize(const SIZE& size) : SIZE(size) {}

    friend constexpr bool operator==(const CSize& a, const CSize& b)
    {
        return a.cx == b.cx && a.cy == b.cy;
    }
    friend constexpr bool operator!=(const CSize& a, const CSize& b) { return !(a == b); }
    constexpr CSize operator+(const CSize& other) const { return {cx + other.cx, cy + other.cy}; }
    constexpr CSize operator-(const CSize& other) const { return {cx - other.cx, cy - other.cy}; }
    constexpr CSize operator-() const { return {-cx, -cy}; }
};
