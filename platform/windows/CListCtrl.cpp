#include "platform/windows/CListCtrl.h"

#include "platform/gdi/CImageList.h"
#include "platform/windows/CHeaderCtrlWidget.h"
#include "platform/windows/CListCtrlWidget.h"
#include "platform/windows/DialogTemplateBuilder.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <cstring>

namespace
{
CRect ToCRect(const QRect& rect)
{
    return CRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}

void CopyCut(const char* text, LPSTR buffer, int size)
{
    if (!buffer || size <= 0)
        return;
    const int length = int(std::min(std::strlen(text ? text : ""), std::size_t(size - 1)));
    std::memcpy(buffer, text ? text : "", std::size_t(length));
    buffer[length] = '\0';
}
} // namespace

CListCtrlWidget* CListCtrl::List() const
{
    return qobject_cast<CListCtrlWidget*>(GetSafeHwnd());
}

QWidget* CListCtrl::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    return CListCtrlWidget::CreateControl(item, rect, parent);
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (GetSafeHwnd())
        return FALSE;
    QWidget* host = parent ? parent->GetSafeHwnd() : nullptr;
    const DialogItem item{"SysListView32", int(id), "", 0, 0, 0, 0, style};
    const QRect area(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (!host) {
        CreateOwned(std::unique_ptr<QWidget>(CListCtrlWidget::CreateControl(item, area, nullptr)));
    } else if (!Attach(CListCtrlWidget::CreateControl(item, area, host))) {
        return FALSE;
    }
    DialogTemplateBuilder::SetControlId(GetSafeHwnd(), int(id));
    GetSafeHwnd()->setVisible(style & WS_VISIBLE);
    return TRUE;
}

DWORD CListCtrl::GetStyle() const
{
    return List() ? List()->Style() : 0;
}

DWORD CListCtrl::GetExtendedStyle() const
{
    return List() ? List()->ExtendedStyle() : 0;
}

DWORD CListCtrl::SetExtendedStyle(DWORD style)
{
    const DWORD previous = GetExtendedStyle();
    if (CListCtrlWidget* list = List())
        list->SetExtendedStyle(style);
    return previous;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl()
{
    CListCtrlWidget* list = List();
    if (!list)
        return nullptr;
    if (CWnd* attached = FromHandlePermanent(list->Header()))
        return dynamic_cast<CHeaderCtrl*>(attached);
    m_defaultHeader.Attach(list->Header());
    return &m_defaultHeader;
}

BOOL CListCtrl::SubclassHeader(CHeaderCtrl& header)
{
    CListCtrlWidget* list = List();
    if (!list)
        return FALSE;
    if (m_defaultHeader.GetSafeHwnd() == list->Header())
        m_defaultHeader.Detach();
    return header.Attach(list->Header());
}

CImageList* CListCtrl::SetImageList(CImageList* images, int which)
{
    CListCtrlWidget* list = List();
    if (!list || which != LVSIL_SMALL)
        return nullptr;
    CImageList* previous = list->SmallImages();
    list->SetSmallImages(images);
    return previous;
}

CImageList* CListCtrl::GetImageList(int which) const
{
    return List() && which == LVSIL_SMALL ? List()->SmallImages() : nullptr;
}

// ---- columns

bool CListCtrl::IsColumnIndex(int column) const
{
    return List() && column >= 0 && column < List()->Header()->Count();
}

int CListCtrl::InsertColumn(int column, LPCTSTR heading, int format, int width, int subItem)
{
    LVCOLUMN info{LVCF_FMT | LVCF_TEXT, format, width, const_cast<LPSTR>(heading), 0, subItem};
    if (width != -1)
        info.mask |= LVCF_WIDTH;
    return InsertColumn(column, &info);
}

int CListCtrl::InsertColumn(int column, const LVCOLUMN* info)
{
    CListCtrlWidget* list = List();
    if (!list || !info || column < 0)
        return -1;
    CHeaderCtrlWidget* header = list->Header();
    column = std::min(column, header->Count());
    const char* title = info->mask & LVCF_TEXT && info->pszText ? info->pszText : "";
    const int format = info->mask & LVCF_FMT ? info->fmt : LVCFMT_LEFT;
    const int width = info->mask & LVCF_WIDTH ? info->cx : header->defaultSectionSize();
    header->InsertColumn(column, title, format, width);
    return column;
}

BOOL CListCtrl::DeleteColumn(int column)
{
    if (!IsColumnIndex(column))
        return FALSE;
    List()->Header()->DeleteColumn(column);
    return TRUE;
}

BOOL CListCtrl::GetColumn(int column, LVCOLUMN* info) const
{
    if (!info || !IsColumnIndex(column))
        return FALSE;
    const CHeaderCtrlWidget* header = List()->Header();
    if (info->mask & LVCF_FMT)
        info->fmt = header->Format(column);
    if (info->mask & LVCF_WIDTH)
        info->cx = header->Width(column);
    if (info->mask & LVCF_TEXT)
        CopyCut(header->Title(column), info->pszText, info->cchTextMax);
    return TRUE;
}

BOOL CListCtrl::SetColumn(int column, const LVCOLUMN* info)
{
    if (!info || !IsColumnIndex(column))
        return FALSE;
    CHeaderCtrlWidget* header = List()->Header();
    if (info->mask & LVCF_FMT)
        header->SetFormat(column, info->fmt);
    if (info->mask & LVCF_WIDTH)
        SetColumnWidth(column, info->cx);
    if (info->mask & LVCF_TEXT)
        header->SetTitle(column, info->pszText ? info->pszText : "");
    List()->viewport()->update();
    return TRUE;
}

int CListCtrl::GetColumnWidth(int column) const
{
    return IsColumnIndex(column) ? List()->Header()->Width(column) : 0;
}

BOOL CListCtrl::SetColumnWidth(int column, int width)
{
    if (!IsColumnIndex(column))
        return FALSE;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER)
        List()->FitColumn(column, width == LVSCW_AUTOSIZE_USEHEADER);
    else
        List()->Header()->SetWidth(column, width);
    return TRUE;
}

// ---- rows

int CListCtrl::InsertItem(const LVITEM* item)
{
    CListCtrlWidget* list = List();
    if (!list || !item || item->iSubItem != 0 || item->iItem < 0)
        return -1;
    const int row = list->InsertRow(item->iItem, item->mask & LVIF_PARAM ? item->lParam : 0,
                                    item->mask & LVIF_IMAGE ? item->iImage : -1);
    if (item->mask & LVIF_TEXT)
        list->SetText(row, 0, item->pszText ? item->pszText : "");
    if (item->mask & LVIF_STATE)
        list->SetState(row, item->state, item->stateMask);
    return row;
}

int CListCtrl::InsertItem(int row, LPCTSTR text)
{
    return InsertItem(LVIF_TEXT, row, text, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(UINT mask, int row, LPCTSTR text, UINT state, UINT stateMask, int image,
                          LPARAM data)
{
    const LVITEM item{mask, row, 0, state, stateMask, const_cast<LPSTR>(text), 0, image, data};
    return InsertItem(&item);
}

BOOL CListCtrl::GetItem(LVITEM* item) const
{
    const CListCtrlWidget* list = List();
    if (!list || !item || !list->IsRow(item->iItem))
        return FALSE;
    if (item->mask & LVIF_TEXT) {
        item->pszText = const_cast<LPSTR>(
            list->ReadText(item->iItem, item->iSubItem, item->pszText, item->cchTextMax));
    }
    if (item->mask & LVIF_PARAM)
        item->lParam = list->Data(item->iItem);
    if (item->mask & LVIF_IMAGE)
        item->iImage = list->Image(item->iItem);
    if (item->mask & LVIF_STATE)
        item->state = list->State(item->iItem) & item->stateMask;
    return TRUE;
}

BOOL CListCtrl::SetItem(const LVITEM* item)
{
    CListCtrlWidget* list = List();
    if (!list || !item || !list->IsRow(item->iItem) || item->iSubItem < 0)
        return FALSE;
    if (item->mask & LVIF_TEXT)
        list->SetText(item->iItem, item->iSubItem, item->pszText ? item->pszText : "");
    if (item->mask & LVIF_PARAM)
        list->SetData(item->iItem, item->lParam);
    if (item->mask & LVIF_IMAGE)
        list->SetImage(item->iItem, item->iImage);
    if (item->mask & LVIF_STATE)
        list->SetState(item->iItem, item->state, item->stateMask);
    return TRUE;
}

BOOL CListCtrl::SetItemText(int row, int column, LPCTSTR text)
{
    const LVITEM item{LVIF_TEXT, row, column, 0, 0, const_cast<LPSTR>(text), 0, 0, 0};
    return SetItem(&item);
}

int CListCtrl::GetItemText(int row, int column, LPTSTR buffer, int size) const
{
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = '\0';
    const CListCtrlWidget* list = List();
    if (!list)
        return 0;
    const LPCSTR text = list->ReadText(row, column, buffer, size);
    if (text != buffer)
        CopyCut(text, buffer, size);
    return int(strnlen(buffer, std::size_t(size)));
}

CString CListCtrl::GetItemText(int row, int column) const
{
    return List() ? List()->Text(row, column) : CString();
}

BOOL CListCtrl::SetItemData(int row, LPARAM data)
{
    if (!List() || !List()->IsRow(row))
        return FALSE;
    List()->SetData(row, data);
    return TRUE;
}

LPARAM CListCtrl::GetItemData(int row) const
{
    return List() && List()->IsRow(row) ? List()->Data(row) : 0;
}

BOOL CListCtrl::DeleteItem(int row)
{
    return List() && List()->DeleteRow(row);
}

BOOL CListCtrl::DeleteAllItems()
{
    if (!List())
        return FALSE;
    List()->DeleteAllRows();
    return TRUE;
}

int CListCtrl::GetItemCount() const
{
    return List() ? List()->Count() : 0;
}

UINT CListCtrl::GetItemState(int row, UINT mask) const
{
    return List() ? List()->State(row) & mask : 0;
}

BOOL CListCtrl::SetItemState(int row, UINT state, UINT mask)
{
    if (!List() || (row != -1 && !List()->IsRow(row)))
        return FALSE;
    List()->SetState(row, state, mask);
    return TRUE;
}

int CListCtrl::GetNextItem(int row, UINT flags) const
{
    return List() ? List()->NextItem(row, flags) : -1;
}

UINT CListCtrl::GetSelectedCount() const
{
    return List() ? UINT(List()->SelectedCount()) : 0;
}

int CListCtrl::FindItem(const LVFINDINFO* info, int start) const
{
    const CListCtrlWidget* list = List();
    if (!list || !info)
        return -1;
    if (info->flags & LVFI_PARAM)
        return list->FindByData(start, info->lParam);
    if (!(info->flags & (LVFI_STRING | LVFI_PARTIAL)) || !info->psz)
        return -1;
    const CString wanted(info->psz);
    const bool partial = info->flags & LVFI_PARTIAL;
    for (int row = std::max(0, start + 1); row < list->Count(); ++row) {
        const CString text = list->Text(row, 0);
        if ((partial ? text.Left(wanted.GetLength()) : text).CompareNoCase(wanted) == 0)
            return row;
    }
    return -1;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, LPARAM user)
{
    if (!List() || !compare)
        return FALSE;
    List()->Sort(compare, user, false);
    return TRUE;
}

BOOL CListCtrl::SortItemsEx(PFNLVCOMPARE compare, LPARAM user)
{
    if (!List() || !compare)
        return FALSE;
    List()->Sort(compare, user, true);
    return TRUE;
}

// ---- geometry

int CListCtrl::GetTopIndex() const
{
    return List() ? List()->TopIndex() : 0;
}

int CListCtrl::GetCountPerPage() const
{
    return List() ? List()->CountPerPage() : 0;
}

BOOL CListCtrl::EnsureVisible(int row, BOOL partialOK)
{
    if (!List() || !List()->IsRow(row))
        return FALSE;
    List()->EnsureVisible(row, partialOK);
    return TRUE;
}

BOOL CListCtrl::GetItemRect(int row, LPRECT rect, UINT code) const
{
    const CListCtrlWidget* list = List();
    if (!list || !rect || !list->IsRow(row))
        return FALSE;
    if (code == LVIR_BOUNDS) {
        *rect = ToCRect(list->RowRect(row));
        return TRUE;
    }
    QRect first = list->CellRect(row, 0);
    const int icon = list->SmallImages() ? int(list->SmallImages()->GetImageSize().cx) : 0;
    if (code == LVIR_ICON)
        first.setWidth(icon);
    else
        first.setLeft(first.left() + icon);
    *rect = ToCRect(first);
    return TRUE;
}

BOOL CListCtrl::GetSubItemRect(int row, int column, int code, CRect& rect) const
{
    // As on the desktop, column 0's bounds are the whole row's.
    if (column == 0)
        return GetItemRect(row, &rect, UINT(code));
    if (!IsColumnIndex(column) || !List()->IsRow(row))
        return FALSE;
    rect = ToCRect(List()->CellRect(row, column));
    return TRUE;
}

int CListCtrl::HitTest(LVHITTESTINFO* info) const
{
    return List() && info ? List()->HitTest(*info, false) : -1;
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const
{
    LVHITTESTINFO info{point, 0, -1, -1};
    const int row = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return row;
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO* info) const
{
    return List() && info ? List()->HitTest(*info, true) : -1;
}

BOOL CListCtrl::RedrawItems(int first, int last)
{
    if (!List())
        return FALSE;
    List()->RedrawRows(first, last);
    return TRUE;
}

void CListCtrl::SetRedraw(BOOL redraw)
{
    if (List())
        List()->SetRedraw(redraw);
}

BOOL CListCtrl::LockWindowUpdate()
{
    if (!List())
        return FALSE;
    List()->SetLocked(true);
    return TRUE;
}

void CListCtrl::UnlockWindowUpdate()
{
    if (List())
        List()->SetLocked(false);
}

void CListCtrl::GetClientRect(LPRECT rect) const
{
    if (List())
        *rect = ToCRect(List()->ClientRect());
    else
        CWnd::GetClientRect(rect);
}

void CListCtrl::ScreenToClient(POINT* point) const
{
    if (!List())
        return;
    const QPoint client = List()->ClientFromGlobal(QPoint(point->x, point->y));
    *point = POINT{client.x(), client.y()};
}

// ---- pointer, font and tooltips

BOOL GetCursorPos(POINT* point)
{
    if (!point || !QGuiApplication::instance())
        return FALSE;
    const QPoint position = QCursor::pos();
    *point = POINT{position.x(), position.y()};
    return TRUE;
}

void CListCtrl::SetCapture()
{
    if (List())
        List()->viewport()->grabMouse();
}

void CListCtrl::ReleaseCapture()
{
    if (HasCapture())
        List()->viewport()->releaseMouse();
}

BOOL CListCtrl::HasCapture() const
{
    return List() && QWidget::mouseGrabber() == List()->viewport();
}

BOOL CListCtrl::GetLogFont(LOGFONT* font) const
{
    if (!List() || !font)
        return FALSE;
    const QFont used = List()->font();
    const int pixels = used.pixelSize() > 0
                           ? used.pixelSize()
                           : qRound(used.pointSizeF() * List()->logicalDpiY() / 72.0);
    font->lfHeight = -pixels;
    return TRUE;
}

void CListCtrl::EnableToolTips(BOOL enable)
{
    if (List())
        List()->EnableToolTips(enable);
}

// ---- overridables

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (!List() || !item || !item->hDC)
        return;
    const CRect rect(item->rcItem);
    List()->DrawRowDefault(*item->hDC->GetPainter(), int(item->itemID),
                           QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                           item->itemState);
}

void CListCtrl::MeasureItem(LPMEASUREITEMSTRUCT) {}

void CListCtrl::PreSubclassWindow()
{
    if (CListCtrlWidget* list = List())
        list->InvalidateRowHeight();
}

BOOL CListCtrl::OnChildNotify(NMHDR*, LRESULT*)
{
    return FALSE;
}

void CListCtrl::OnMouseMove(UINT, CPoint) {}

void CListCtrl::OnLButtonUp(UINT, CPoint) {}

INT_PTR CListCtrl::OnToolHitTest(CPoint, TOOLINFO*) const
{
    return -1;
}
