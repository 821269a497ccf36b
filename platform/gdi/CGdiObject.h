#pragma once
// The framework's drawing object: a pen or a brush that a device context can select. An object
// holds nothing until it is created, and DeleteObject empties it again.
#include "platform/core/WinTypes.h"

// Stock objects the system keeps for every device context.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
// The desktop's font for controls, as the application had it when first asked for.
constexpr int DEFAULT_GUI_FONT = 17;

class CGdiObject
{
public:
    CGdiObject() = default;
    virtual ~CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // FALSE when the object holds nothing (or is a stock object, which is never deleted).
    BOOL DeleteObject();
    bool IsCreated() const { return m_created; }

    // The stock object with that index, or null for an index not listed above.
    static CGdiObject* GetStockObject(int index);

protected:
    void MarkCreated() { m_created = true; }

private:
    virtual void Release() = 0;

    bool m_created = false;
    bool m_stock = false;
};
