#pragma once
// The framework's pen: the style, width and colour lines and outlines are drawn with.
#include "platform/gdi/CGdiObject.h"

#include <QPen>

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour);

    // Width 0 draws one pixel wide whatever the mapping. FALSE when the pen already holds one.
    BOOL CreatePen(int style, int width, COLORREF colour);

    // What a device context draws with; a null pen draws nothing.
    QPen ToQPen() const { return m_pen; }

private:
    void Release() override { m_pen = QPen(); }

    QPen m_pen;
};
