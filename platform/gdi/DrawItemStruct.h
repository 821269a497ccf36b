#pragma once
// The request an owner-drawn control gets to draw one item: what to draw (action), how the item
// is (state), where (rcItem) and with which device context (hDC); and the request to measure
// one (a list's row height).
#include "platform/core/CRect.h"
#include "platform/gdi/CDC.h"

#include <cstdint>

class QWidget;
using HWND = QWidget*;

// Control types.
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_LISTVIEW = 102;

// Actions.
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;

// States.
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    std::uintptr_t itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    std::uintptr_t itemData;
};
using LPMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;
