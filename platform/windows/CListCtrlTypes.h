#pragma once
// The list view's request and notification records, with the flags that go in them.
#include "platform/core/CRect.h"
#include "platform/gdi/CFont.h"
#include "platform/windows/CWnd.h"

// The text of a row or cell that the owner supplies when asked (LVN_GETDISPINFO).
inline const LPSTR LPSTR_TEXTCALLBACK = reinterpret_cast<LPSTR>(std::intptr_t(-1));

// View styles: the view is the style's lowest two bits.
constexpr DWORD LVS_ICON = 0x0000;
constexpr DWORD LVS_TYPEMASK = 0x0003;

// Extended styles.
constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

// Column fields and formats.
constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

// Column widths that fit the column to its texts (and to its title).
constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

struct LVCOLUMN {
    UINT mask;
    int fmt;
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
};

// Item fields and states.
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;

struct LVITEM {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};

// GetNextItem.
constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;

// FindItem.
constexpr UINT LVFI_PARAM = 0x0001;
constexpr UINT LVFI_STRING = 0x0002;
constexpr UINT LVFI_PARTIAL = 0x0008;

struct LVFINDINFO {
    UINT flags;
    LPCSTR psz;
    LPARAM lParam;
};

// GetItemRect.
constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;

// HitTest.
constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
// Apart from the on-item flags, unlike the desktop's, where "above" shares the state icon's bit.
constexpr UINT LVHT_ABOVE = 0x0010;
constexpr UINT LVHT_BELOW = 0x0020;
constexpr UINT LVHT_TORIGHT = 0x0040;
constexpr UINT LVHT_TOLEFT = 0x0080;

struct LVHITTESTINFO {
    POINT pt;
    UINT flags;
    int iItem;
    int iSubItem;
};

// Image lists.
constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;

// Notification codes.
constexpr UINT LVN_ITEMCHANGED = UINT(-101);
constexpr UINT LVN_COLUMNCLICK = UINT(-108);
constexpr UINT LVN_GETDISPINFO = UINT(-150);
// Enter pressed on the list (a bare NMHDR).
constexpr UINT NM_RETURN = UINT(-4);

// LVN_ITEMCHANGED and LVN_COLUMNCLICK (the column in iSubItem).
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
};

// NM_CLICK and NM_DBLCLK: the row and column under the pointer (-1 for none).
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    POINT ptAction;
};

// LVN_GETDISPINFO: the owner copies the text of item.iItem, item.iSubItem into item.pszText,
// at most item.cchTextMax bytes with the terminator.
struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};
using LV_DISPINFO = NMLVDISPINFO;

using PFNLVCOMPARE = int (*)(LPARAM data1, LPARAM data2, LPARAM user);

// Tooltips. A tool is a rectangle of a window with an identifier; its text is asked for with
// TTN_NEEDTEXTA (or TTN_NEEDTEXTW) when lpszText is LPSTR_TEXTCALLBACK.
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using WCHAR = char16_t;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTN_NEEDTEXTA = UINT(-520);
constexpr UINT TTN_NEEDTEXTW = UINT(-530);

struct TOOLINFO {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    LPSTR lpszText;
};

// The answer goes to lpszText, or into szText when lpszText is left pointing at it.
struct NMTTDISPINFOA {
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    UINT uFlags;
};

struct NMTTDISPINFOW {
    NMHDR hdr;
    WCHAR* lpszText;
    WCHAR szText[80];
    UINT uFlags;
};
