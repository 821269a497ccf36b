#include "platform/windows/CHeaderCtrl.h"

#include "platform/windows/CHeaderCtrlWidget.h"

#include <cstring>

namespace
{
CHeaderCtrlWidget* WidgetOf(const CWnd* wnd)
{
    return qobject_cast<CHeaderCtrlWidget*>(wnd->GetSafeHwnd());
}
} // namespace

int CHeaderCtrl::GetItemCount() const
{
    const CHeaderCtrlWidget* header = WidgetOf(this);
    return header ? header->Count() : -1;
}

BOOL CHeaderCtrl::GetItem(int index, HDITEM* item) const
{
    const CHeaderCtrlWidget* header = WidgetOf(this);
    if (!header || !item || index < 0 || index >= header->Count())
        return FALSE;
    if (item->mask & HDI_WIDTH)
        item->cxy = header->Width(index);
    if (item->mask & HDI_FORMAT)
        item->fmt = header->Format(index);
    if ((item->mask & HDI_TEXT) && item->pszText && item->cchTextMax > 0) {
        const CString title = header->Title(index);
        const int length = std::min(title.GetLength(), item->cchTextMax - 1);
        std::memcpy(item->pszText, (const char*)title, std::size_t(length));
        item->pszText[length] = '\0';
    }
    return TRUE;
}

BOOL CHeaderCtrl::GetItemRect(int index, LPRECT rect) const
{
    const CHeaderCtrlWidget* header = WidgetOf(this);
    if (!header || !rect || index < 0 || index >= header->Count())
        return FALSE;
    const int left = header->sectionViewportPosition(index);
    *rect = CRect(left, 0, left + header->Width(index), header->height());
    return TRUE;
}

void CHeaderCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    if (CHeaderCtrlWidget* header = WidgetOf(this))
        header->DefaultDoubleClick(QPoint(point.x, point.y));
}
