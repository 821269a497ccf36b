#pragma once
// The framework's device context: drawing on a QPainter, measured on the painter's device.
#include "platform/WinTypes.h"

class QPainter;

constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

class CDC {
public:
    // Draws with painter, which the caller keeps alive and active for the life of the CDC.
    explicit CDC(QPainter* painter);

    // LOGPIXELSX, LOGPIXELSY: logical pixels per inch of the device; 0 for other indexes.
    int GetDeviceCaps(int index) const;

private:
    QPainter* m_painter;
};
