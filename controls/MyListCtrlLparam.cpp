#include "controls/MyListCtrlLparam.h"

#include "platform/gdi/SysColor.h"

COLORREF MyListCtrlLparam::GetColor(int, ColorType type, const CString&, bool bookmark) const
{
    switch (type) {
    case ColorText:
        return bookmark ? RGB(0, 0, 0) : GetSysColor(COLOR_WINDOWTEXT);
    case ColorBack:
        return bookmark ? RGB(0, 255, 255) : GetSysColor(COLOR_WINDOW);
    case ColorSelectedText:
        return bookmark ? RGB(255, 255, 255) : GetSysColor(COLOR_HIGHLIGHTTEXT);
    case ColorSelectedBack:
        return bookmark ? RGB(0, 0, 255) : GetSysColor(COLOR_HIGHLIGHT);
    }
    return 0;
}

CString MyListCtrlLparam::ProvideTipText(CListCtrl*, int, const CRect&)
{
    return CString();
}
