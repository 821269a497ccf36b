#pragma once
// The framework's rectangle. The right and bottom edges are exclusive: a rectangle holds the
// points with left <= x < right and top <= y < bottom, and is empty when either extent is not
// positive.
#include "platform/core/CPoint.h"

#include <algorithm>

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

class CRect : public RECT
{
public:
    constexpr CRect() : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& rect) : RECT(rect) {}
    constexpr CRect(const POINT& topLeft, const SIZE& size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy}
    {
    }
    constexpr CRect(const POINT& topLeft, const POINT& bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}
    {
    }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr CSize Size() const { return {Width(), Height()}; }
    // Copies, unlike the framework's references into the rectangle: assign with SetRect.
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CPoint BottomRight() const { return {right, bottom}; }
    constexpr CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }

    constexpr bool IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
    constexpr bool IsRectNull() const { return !left && !top && !right && !bottom; }
    constexpr bool PtInRect(const POINT& p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    constexpr void SetRect(int l, int t, int r, int b) { *this = CRect(l, t, r, b); }
    constexpr void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    constexpr void OffsetRect(int dx, int dy)
    {
        SetRect(left + dx, top + dy, right + dx, bottom + dy);
    }
    constexpr void OffsetRect(const POINT& p) { OffsetRect(p.x, p.y); }
    constexpr void OffsetRect(const SIZE& s) { OffsetRect(s.cx, s.cy); }
    constexpr void InflateRect(int l, int t, int r, int b)
    {
        SetRect(left - l, top - t, right + r, bottom + b);
    }
    constexpr void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
    constexpr void InflateRect(const SIZE& s) { InflateRect(s.cx, s.cy); }
    constexpr void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    constexpr void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    constexpr void DeflateRect(const SIZE& s) { InflateRect(-s.cx, -s.cy); }
    constexpr void NormalizeRect()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }

    // The overlap of a and b; false and an empty rectangle when they do not overlap.
    constexpr bool IntersectRect(LPCRECT a, LPCRECT b)
    {
        SetRect(std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                std::min(a->bottom, b->bottom));
        if (!IsRectEmpty())
            return true;
        SetRectEmpty();
        return false;
    }
    // The smallest rectangle holding a and b; empty ones are ignored, as by the system.
    constexpr bool UnionRect(LPCRECT a, LPCRECT b)
    {
        const CRect first(*a), second(*b);
        if (first.IsRectEmpty() && second.IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        if (first.IsRectEmpty() || second.IsRectEmpty()) {
            *this = first.IsRectEmpty() ? second : first;
            return true;
        }
        SetRect(std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom));
        return true;
    }

    friend constexpr bool operator==(const CRect& a, const CRect& b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend constexpr bool operator!=(const CRect& a, const CRect& b) { return !(a == b); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
