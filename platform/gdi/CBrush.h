#pragma once
// The framework's brush: what shapes are filled with.
#include "platform/gdi/CGdiObject.h"

#include <QBrush>

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour);

    // FALSE when the brush already holds one.
    BOOL CreateSolidBrush(COLORREF colour);
    // A brush that fills nothing (the stock NULL_BRUSH).
    BOOL CreateNullBrush();

    QBrush ToQBrush() const { return m_brush; }

private:
    void Release() override { m_brush = QBrush(); }

    QBrush m_brush;
};

// A brush handle: the brush itself; null for none.
using HBRUSH = CBrush*;
