#pragma once
// The framework's point in logical or client coordinates.
#include "platform/core/CSize.h"

struct POINT {
    LONG x;
    LONG y;
};

class CPoint : public POINT
{
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(int x, int y) : POINT{x, y} {}
    constexpr CPoint(const POINT& point) : POINT(point) {}

    constexpr void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    friend constexpr bool operator==(const CPoint& a, const CPoint& b)
    {
        return a.x == b.x && a.y == b.y;
    }
    friend constexpr bool operator!=(const CPoint& a, const CPoint& b) { return !(a == b); }
    constexpr CPoint operator+(const CSize& size) const { return {x + size.cx, y + size.cy}; }
    constexpr CPoint operator-(const CSize& size) const { return {x - size.cx, y - size.cy}; }
    // The distance between two points.
    constexpr CSize operator-(const CPoint& other) const { return {x - other.x, y - other.y}; }
};
