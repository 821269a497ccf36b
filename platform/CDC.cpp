#include "platform/CDC.h"

#include <QPaintDevice>
#include <QPainter>

CDC::CDC(QPainter* painter) : m_painter(painter) {}

int CDC::GetDeviceCaps(int index) const
{
    const QPaintDevice* device = m_painter ? m_painter->device() : nullptr;
    if (!device)
        return 0;
    switch (index) {
    case LOGPIXELSX: return device->logicalDpiX();
    case LOGPIXELSY: return device->logicalDpiY();
    default: return 0;
    }
}
