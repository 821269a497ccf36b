// MyListCtrl: owner drawing, row height, cell geometry, tooltips and drag selection.
#include "controls/MyListCtrl.h"

#include "controls/MyListCtrlLparam.h"
#include "platform/gdi/CImageList.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/FontLine.h"
#include "platform/gdi/SysColor.h"
#include "util/Generic.h"

#include <QEventLoop>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
constexpr int kImageWidth = 16;
constexpr int kDrawTextSize = 512;
// Tips are cut to the desktop's tooltip buffer: 79 characters and the terminator.
constexpr int kTipTextSize = 80;
constexpr UINT kCellFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS;
constexpr int kAutoScrollMilliseconds = 125;
constexpr int kNoDrag = -4;

// Waits while the application keeps handling events.
void WaitHandlingEvents(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

UINT_PTR MyListCtrl::ToolId(int row, int column)
{
    return (UINT_PTR(UINT(row) << 10 | UINT(column & 0x3FF))) + 1;
}

bool MyListCtrl::IsReportView() const
{
    return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
}

MyListCtrlLparam* MyListCtrl::RowObject(LPARAM data) const
{
    return data ? dynamic_cast<MyListCtrlLparam*>(reinterpret_cast<CObject*>(data)) : nullptr;
}

// ---- row height

// Five pixels more than the font per line, and at least a whole line of it between the cells'
// one-pixel margins: desktop fonts draw accents of capitals above their size.
void MyListCtrl::MeasureItem(LPMEASUREITEMSTRUCT measure)
{
    LOGFONT font{};
    const int height = GetLogFont(&font) ? std::abs(int(font.lfHeight)) : 0;
    const int line = GetSafeHwnd() ? FontLine(GetSafeHwnd()->font()).Height() + 3 : 0;
    if (m_linesPerRow < 1)
        m_linesPerRow = 1;
    measure->itemHeight = UINT(std::max(height + 5, line) * m_linesPerRow);
}

// ---- drawing

void MyListCtrl::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = item ? CDC::FromHandle(item->hDC) : nullptr;
    if (!dc)
        return;
    const int row = int(item->itemID);
    const CRect rowRect(item->rcItem);
    const bool selected = item->itemState & ODS_SELECTED;

    int imageOffset = 0;
    if (CImageList* images = GetImageList(LVSIL_SMALL)) {
        LVITEM image{};
        image.mask = LVIF_IMAGE;
        image.iItem = row;
        GetItem(&image);
        const CSize size = images->GetImageSize();
        images->ExtractIcon(image.iImage)
            .paint(dc->GetPainter(), QRect(rowRect.left, rowRect.top, size.cx, size.cy),
                   Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);
        imageOffset = kImageWidth;
    }

    CPen gridPen(PS_SOLID, 0, GetSysColor(COLOR_WINDOWTEXT));
    CPen* previousPen = dc->SelectObject(&gridPen);

    LPARAM data = LPARAM(item->itemData);
    for (int attempt = 0; attempt < 2 && !data; ++attempt)
        data = GetItemData(row);
    MyListCtrlLparam* object = RowObject(data);

    LVCOLUMN column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    int left = rowRect.left;
    for (int index = 0; GetColumn(index, &column); ++index) {
        const CRect cell(index == 0 ? left + imageOffset : left, rowRect.top, left + column.cx,
                         rowRect.bottom);
        DrawCell(*dc, row, index, column.fmt, cell, selected, object);
        left = cell.right;
    }

    if (selected) {
        dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        dc->SetBkColor(GetSysColor(COLOR_WINDOW));
    }
    if (item->itemState & ODS_FOCUS) {
        CRect focus(rowRect);
        focus.left += imageOffset;
        dc->DrawFocusRect(&focus);
        focus.DeflateRect(1, 1);
        dc->DrawFocusRect(&focus);
        QWidget* parent = GetSafeHwnd() ? GetSafeHwnd()->parentWidget() : nullptr;
        if (CWnd* owner = CWnd::FromHandlePermanent(parent); owner && m_focusNotification)
            owner->PostMessage(m_focusNotification, 0, 0);
    }
    dc->SelectObject(previousPen);
}

void MyListCtrl::DrawCell(CDC& dc, int row, int column, int format, const CRect& cell,
                          bool selected, MyListCtrlLparam* object)
{
    char buffer[kDrawTextSize] = {};
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = kDrawTextSize;
    GetItem(&item);
    // A text that filled the buffer was cut: show that it goes on.
    if (item.pszText == buffer && strnlen(buffer, kDrawTextSize) == kDrawTextSize - 1)
        std::memcpy(buffer + kDrawTextSize - 4, "...", 3);
    const CString text(item.pszText ? item.pszText : "");

    using Type = MyListCtrlLparam::ColorType;
    const bool bookmark = IsBookmark(row);
    const Type textType =
        selected ? MyListCtrlLparam::ColorSelectedText : MyListCtrlLparam::ColorText;
    const Type backType =
        selected ? MyListCtrlLparam::ColorSelectedBack : MyListCtrlLparam::ColorBack;
    const COLORREF textColour =
        object ? object->GetColor(column, textType, text, bookmark)
               : GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    const COLORREF backColour = object ? object->GetColor(column, backType, text, bookmark)
                                       : GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    dc.SetTextColor(textColour);
    dc.FillSolidRect(&cell, backColour);

    CRect inside(cell);
    inside.DeflateRect(1, 1);
    dc.SetBkMode(OPAQUE);
    UINT drawFormat = kCellFormat;
    if (format & LVCFMT_RIGHT)
        drawFormat |= DT_RIGHT;
    else if (format & LVCFMT_CENTER)
        drawFormat |= DT_CENTER;
    dc.DrawText(text, &inside, drawFormat);

    if (m_gridLineHorz) {
        dc.MoveTo(cell.left + 1, cell.bottom - 1);
        dc.LineTo(cell.right - 1, cell.bottom - 1);
    }
    if (m_gridLineVert) {
        dc.MoveTo(cell.right - 1, cell.bottom - 1);
        dc.LineTo(cell.right - 1, cell.top);
    }
}

// ---- cell geometry

bool MyListCtrl::GetCellRect(int row, int column, CRect& rect) const
{
    if (!IsItem(row) || !IsReportView())
        return false;
    GetItemRect(row, &rect, LVIR_BOUNDS);
    int left = 0;
    for (int index = 0; index < column; ++index) {
        if (IsColumn(index))
            left += GetColumnWidth(index);
    }
    if (!IsColumn(column))
        return false;
    CRect client;
    GetClientRect(&client);
    rect.left = left;
    rect.right = std::min(left + GetColumnWidth(column), int(client.right));
    return true;
}

int MyListCtrl::GetCellRectFromPoint(const CPoint& point, CRect& rect, int& column) const
{
    if (!IsReportView())
        return -4;
    const int count = GetItemCount();
    // Without rows there is nothing to be above or below.
    if (count == 0)
        return -1;
    const int first = GetTopIndex();
    const int last = std::min(first + GetCountPerPage() - 1, count - 1);
    CRect client;
    GetClientRect(&client);
    int result = -1;
    for (int row = first; row <= last && result == -1; ++row) {
        CRect bounds;
        GetItemRect(row, &bounds, LVIR_BOUNDS);
        if (!bounds.PtInRect(point))
            continue;
        int left = bounds.left;
        for (int index = 0; IsColumn(index); ++index) {
            const int width = GetColumnWidth(index);
            if (left <= point.x && point.x <= left + width) {
                column = index;
                rect = CRect(left, bounds.top, std::min(left + width, int(client.right)),
                             bounds.bottom);
                result = row;
                break;
            }
            left += width;
        }
    }
    CRect firstBounds;
    CRect lastBounds;
    GetItemRect(first, &firstBounds, LVIR_BOUNDS);
    GetItemRect(last, &lastBounds, LVIR_BOUNDS);
    if (point.y < firstBounds.top)
        result = -2;
    if (point.y > lastBounds.bottom)
        result = -3;
    return result;
}

// ---- tooltips

INT_PTR MyListCtrl::OnToolHitTest(CPoint point, TOOLINFO* info) const
{
    if (!info)
        return -1;
    CRect rect;
    int column = 0;
    const int row = GetCellRectFromPoint(point, rect, column);
    if (row < 0)
        return -1;
    info->hwnd = GetSafeHwnd();
    info->uId = ToolId(row, column);
    info->rect = rect;
    info->lpszText = LPSTR_TEXTCALLBACK;
    return INT_PTR(info->uId);
}

bool MyListCtrl::OnNeedtext(UINT, NMHDR* header, LRESULT* result)
{
    const UINT_PTR id = header->idFrom;
    if (id == 0)
        return false;
    const int row = int((id - 1) >> 10);
    const int column = int((id - 1) & 0x3FF);
    CString text;
    if (MyListCtrlLparam* object = RowObject(GetItemData(row))) {
        CRect cell;
        GetCellRect(row, column, cell);
        text = object->ProvideTipText(this, column, cell);
    } else {
        text = GetItemTextWorks(row, column);
    }
    const std::size_t length =
        std::min<std::size_t>(std::size_t(text.GetLength()), kTipTextSize - 1);
    if (header->code == TTN_NEEDTEXTA) {
        auto* request = reinterpret_cast<NMTTDISPINFOA*>(header);
        std::memcpy(request->szText, (const char*)text, length);
        request->szText[length] = '\0';
        request->lpszText = request->szText;
    } else {
        auto* request = reinterpret_cast<NMTTDISPINFOW*>(header);
        const std::u16string wide =
            QString::fromUtf8((const char*)text, int(length)).toStdU16String();
        const std::size_t units = std::min<std::size_t>(wide.size(), kTipTextSize - 1);
        std::memcpy(request->szText, wide.data(), units * sizeof(WCHAR));
        request->szText[units] = 0;
        request->lpszText = request->szText;
    }
    *result = 0;
    return true;
}

// ---- drag selection

int MyListCtrl::DragTo(CPoint point)
{
    CRect rect;
    int column = -1;
    const int hit = GetCellRectFromPoint(point, rect, column);
    if (hit >= 0 && column != -1) {
        if (m_dragAnchor == kNoDrag)
            m_dragAnchor = hit;
        SetRedraw(FALSE);
        SelectAll(0);
        for (int row = std::min(m_dragAnchor, hit); row <= std::max(m_dragAnchor, hit); ++row)
            SelectItem(row, 1);
        SetRedraw(TRUE);
        SetCapture();
        return hit;
    }
    if (hit == -3 || hit == -2) {
        const int last = GetItemCount() - 1;
        const int top = GetTopIndex();
        const int target =
            hit == -3 ? std::min(top + GetCountPerPage(), last) : std::max(top - 1, 0);
        if (target != -1) {
            EnsureVisible(target, FALSE);
            SelectItem(target, 1);
        }
    }
    return hit;
}

void MyListCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (flags & MK_LBUTTON) {
        QPointer<QWidget> window(GetSafeHwnd());
        int hit = DragTo(point);
        while (hit == -2 || hit == -3) {
            if (Generic::SpinTheMessageLoop() == WM_QUIT || !window)
                return;
            WaitHandlingEvents(kAutoScrollMilliseconds);
            if (!window || !HasCapture())
                break;
            POINT cursor{};
            GetCursorPos(&cursor);
            ScreenToClient(&cursor);
            hit = DragTo(CPoint(cursor.x, cursor.y));
        }
        if (!window)
            return;
    }
    CListCtrl::OnMouseMove(flags, point);
}

void MyListCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    ReleaseCapture();
    m_dragAnchor = kNoDrag;
    CListCtrl::OnLButtonUp(flags, point);
}
