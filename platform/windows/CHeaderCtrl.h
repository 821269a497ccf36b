#pragma once
// The framework's header control: the column titles above a report list, whose dividers the
// user drags to resize the columns. Reached through CListCtrl::GetHeaderCtrl; its window is
// the list's child with control id 0.
#include "platform/windows/CWnd.h"

constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;

constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;

struct HDITEM {
    UINT mask;
    int cxy;
    LPSTR pszText;
    int cchTextMax;
    int fmt;
};

// Sent to the list (its parent) through OnNotify.
constexpr UINT HDN_ENDTRACKA = UINT(-301);
constexpr UINT HDN_ENDTRACKW = UINT(-321);
constexpr UINT HDN_ENDTRACK = HDN_ENDTRACKA;

struct NMHEADER {
    NMHDR hdr;
    int iItem;
    int iButton;
    HDITEM* pitem;
};

class CHeaderCtrl : public CWnd
{
public:
    int GetItemCount() const;
    // Fills the fields of item that its mask names; text cut to item->cchTextMax with the
    // terminator. FALSE for a column that does not exist.
    BOOL GetItem(int index, HDITEM* item) const;
    // A column's title in the header's client coordinates.
    BOOL GetItemRect(int index, LPRECT rect) const;

    // A double click in the header. The default fits a column to its contents when the click
    // is on the divider at its right edge.
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
};
