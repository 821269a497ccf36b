#pragma once
// What an owner-drawn control hands the code that draws it: the item to draw, its state and
// rectangle, and the painter to draw with (a CDC is made over it).
#include "platform/CRect.h"
#include "platform/CWnd.h"

class QPainter;
using HDC = QPainter*;

// Control types.
constexpr UINT ODT_LISTVIEW = 102;
constexpr UINT ODT_BUTTON = 4;

// What the request asks for.
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;

// State of the item to draw.
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    LPARAM itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    LPARAM itemData;
};
using LPMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;
