#include "controls/MyButton.h"

#include "platform/gdi/CPen.h"
#include "platform/windows/CDialog.h"
#include "res/Icons.h"

#include <QIcon>
#include <algorithm>
#include <utility>

bool MyButton::SetIcon(UINT id, int cx, int cy)
{
    SetButtonStyle(BS_OWNERDRAW);
    const QIcon icon = LoadResourceIcon(id);
    if (icon.isNull() || cx <= 0 || cy <= 0)
        return false;
    if (icon.pixmap(QSize(cx, cy)).isNull())
        return false;
    m_icon = icon;
    m_imageWidth = cx;
    m_imageHeight = cy;
    Redraw();
    return true;
}

void MyButton::SetColorTab(COLORREF colour)
{
    m_colorTab = true;
    m_colorTabColor = colour;
    Redraw();
}

bool MyButton::SetDefaultButton(bool isDefault)
{
    QWidget* owner = GetSafeHwnd() ? GetSafeHwnd()->parentWidget() : nullptr;
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(owner));
    if (!dialog)
        return false;
    // Clearing the flag leaves the dialog's default button to whoever sets the next one.
    if (isDefault)
        dialog->SetDefID(UINT(GetDlgCtrlID()));
    const bool previous = std::exchange(m_default, isDefault);
    Redraw();
    return previous;
}

int MyButton::SetImageOffset(int offset)
{
    m_useOffsets = true;
    const int previous = std::exchange(m_imageOffset, offset);
    Redraw();
    return previous;
}

int MyButton::SetTextOffset(int offset)
{
    m_useOffsets = true;
    const int previous = std::exchange(m_textOffset, offset);
    Redraw();
    return previous;
}

CPoint MyButton::SetImagePos(CPoint pos)
{
    m_useOffsets = false;
    const CPoint previous = std::exchange(m_imagePos, pos);
    Redraw();
    return previous;
}

CPoint MyButton::SetTextPos(CPoint pos)
{
    m_useOffsets = false;
    const CPoint previous = std::exchange(m_textPos, pos);
    Redraw();
    return previous;
}

bool MyButton::HasImage() const
{
    return !m_icon.isNull();
}

void MyButton::Redraw()
{
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void MyButton::CheckPointForCentering(CPoint& p, int width, int height) const
{
    CRect client;
    GetClientRect(&client);
    if (p.x == Center)
        p.x = (client.Width() - width) >> 1;
    if (p.y == Center)
        p.y = (client.Height() - height) >> 1;
}

CPoint MyButton::ImagePosition(const CRect& r, bool hasCaption) const
{
    if (!m_useOffsets)
        return m_imagePos;
    return CPoint(hasCaption ? r.left + m_imageOffset : Center, Center);
}

CPoint MyButton::TextPosition(CSize extent, int& lift) const
{
    CPoint p =
        m_useOffsets
            ? CPoint(HasImage() ? m_imageWidth + m_textOffset + m_imageOffset : Center, Center)
            : m_textPos;
    lift = p.y == Center ? -1 : 0;
    CheckPointForCentering(p, extent.cx, extent.cy);
    if (m_useOffsets && HasImage() && m_textOffset >= 0) {
        // The desktop font is wider than the one the offsets were chosen for: a caption that
        // would run into the edge moves left into the gap after the image.
        CRect client;
        GetClientRect(&client);
        const int last = client.Width() - FocusOffset - 1 - extent.cx;
        p.x = std::max(m_imageOffset + m_imageWidth + 2, std::min(p.x, last));
    }
    return p;
}

void MyButton::DrawColorTab(CDC& dc, const CRect& r, int shift) const
{
    CPen pen(PS_SOLID, 1, m_colorTabColor);
    CPen* previous = dc.SelectObject(&pen);
    const int x0 = r.left + shift + 1;
    const int y0 = r.top + shift + 1;
    for (int i = 0; i < ColorTabSize; ++i) {
        dc.MoveTo(x0, y0 + i);
        dc.LineTo(x0 + 11 - i, y0 + i);
    }
    dc.SelectObject(previous);
    pen.DeleteObject();
}

void MyButton::DrawFocus(CDC& dc, const CRect& r) const
{
    const int smaller = std::min(r.Width(), r.Height());
    const int inset = smaller >= 16 ? FocusOffset : smaller / 4;
    CRect focus = r;
    focus.DeflateRect(inset, inset);
    dc.DrawFocusRect(&focus);
}

void MyButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    const UINT state = item->itemState;
    const UINT action = item->itemAction;
    const int shift = state & ODS_SELECTED ? 1 : 0;
    const UINT frameStyle = DFCS_BUTTONPUSH | (shift ? DFCS_PUSHED : 0);
    const UINT effect = state & ODS_DISABLED ? DSS_DISABLED : DSS_NORMAL;
    CRect r(item->rcItem);
    if (m_default)
        r.DeflateRect(1, 1);
    CDC* dc = CDC::FromHandle(item->hDC);
    if (!dc)
        return;

    if (action != ODA_FOCUS) {
        if (m_default) {
            CGdiObject* previous = dc->SelectStockObject(BLACK_PEN);
            dc->Rectangle(&item->rcItem);
            dc->SelectObject(previous);
        }
        if (dc->DrawFrameControl(&r, DFC_BUTTON, frameStyle)) {
            if (m_colorTab)
                DrawColorTab(*dc, r, shift);
            CString caption;
            GetWindowText(caption);
            if (HasImage()) {
                CPoint p = ImagePosition(r, !caption.IsEmpty());
                CheckPointForCentering(p, m_imageWidth, m_imageHeight);
                p.Offset(shift, shift);
                dc->DrawState(p, CSize(m_imageWidth, m_imageHeight), m_icon, DST_ICON | effect);
            }
            if (!caption.IsEmpty()) {
                // The extent of the caption as shown, its prefix marks taken out.
                CRect extent(0, 0, 0, 0);
                dc->DrawText(caption, &extent, DT_SINGLELINE | DT_CALCRECT);
                int lift = 0;
                CPoint p = TextPosition(extent.Size(), lift);
                p.Offset(shift, shift + lift);
                dc->DrawState(p, CSize(), caption, DST_PREFIXTEXT | effect, TRUE);
            }
        }
    }

    if (!(state & ODS_DISABLED)) {
        const bool focusChanged = (state ^ m_lastState) & ODS_FOCUS;
        if (focusChanged || (action != ODA_FOCUS && (state & ODS_FOCUS)))
            DrawFocus(*dc, r);
    }
    m_lastState = state;
}
