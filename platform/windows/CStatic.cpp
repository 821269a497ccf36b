#include "platform/windows/CStatic.h"

#include "platform/gdi/SysColor.h"
#include "platform/windows/ResourceTable.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace
{
Qt::Alignment AlignmentOf(DWORD style)
{
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        return Qt::AlignHCenter | Qt::AlignTop;
    case SS_RIGHT:
        return Qt::AlignRight | Qt::AlignTop;
    default:
        return Qt::AlignLeft | Qt::AlignTop;
    }
}

UINT TextFormat(DWORD style)
{
    UINT format = DT_WORDBREAK;
    if ((style & SS_TYPEMASK) == SS_CENTER)
        format |= DT_CENTER;
    else if ((style & SS_TYPEMASK) == SS_RIGHT)
        format |= DT_RIGHT;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    return format;
}

QIcon ResourceIcon(const char* idText)
{
    return ResourceTable::LoadIcon(UINT(QByteArray(idText).toUInt()));
}
} // namespace

void CStatic::SetIcon(const QIcon& icon)
{
    if (auto* label = qobject_cast<QLabel*>(GetSafeHwnd()))
        label->setPixmap(icon.pixmap(label->size()));
}

HBRUSH CStatic::CtlColor(CDC*, UINT)
{
    return nullptr;
}

void CStatic::OnClicked() {}

void CStatic::OnLButtonDown(UINT, CPoint)
{
    if (GetStyle() & SS_NOTIFY)
        OnClicked();
    Default();
}

LRESULT CStatic::OnNcHitTest(CPoint)
{
    return GetStyle() & SS_NOTIFY ? HTCLIENT : HTTRANSPARENT;
}

CRect CStatic::DrawFrame(CDC& dc) const
{
    CRect client;
    GetClientRect(&client);
    if (GetStyle() & WS_BORDER) {
        CGdiObject* pen = dc.SelectStockObject(BLACK_PEN);
        CGdiObject* brush = dc.SelectStockObject(NULL_BRUSH);
        dc.Rectangle(&client);
        dc.SelectObject(pen);
        dc.SelectObject(brush);
        client.DeflateRect(1, 1);
    }
    if (GetExStyle() & WS_EX_STATICEDGE) {
        const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
        const COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
        dc.FillSolidRect(client.left, client.top, client.Width(), 1, shadow);
        dc.FillSolidRect(client.left, client.top, 1, client.Height(), shadow);
        dc.FillSolidRect(client.left, client.bottom - 1, client.Width(), 1, light);
        dc.FillSolidRect(client.right - 1, client.top, 1, client.Height(), light);
        client.DeflateRect(1, 1);
    }
    return client;
}

void CStatic::OnPaint()
{
    QWidget* widget = GetSafeHwnd();
    QPainter painter(widget);
    painter.setFont(widget->font());
    CDC dc(&painter);
    CRect client = DrawFrame(dc);
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    HBRUSH brush = CtlColor(&dc, CTLCOLOR_STATIC);
    if (brush)
        dc.FillRect(&client, brush);
    else
        dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CString text;
    GetWindowText(text);
    dc.DrawText(text, &client, TextFormat(GetStyle()));
}

QWidget* CStatic::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setGeometry(rect);
    if ((item.style & SS_TYPEMASK) == SS_ICON) {
        // An icon static takes the system's standard icon size (32 x 32) at its top left
        // corner, as the dialog manager sizes it.
        const QIcon icon = ResourceIcon(item.text);
        if (icon.isNull()) {
            qWarning("Static control %d: no icon %s", item.id, item.text);
            return label;
        }
        const QSize size(32, 32);
        label->setPixmap(icon.pixmap(size));
        label->resize(size);
        return label;
    }
    if ((item.style & SS_TYPEMASK) == SS_GRAYFRAME) {
        // A rule or box in the colour of the window frame's shadow.
        label->setFrameShape(QFrame::Box);
        label->setForegroundRole(QPalette::Mid);
        return label;
    }
    label->setText(QString::fromUtf8(item.text));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(AlignmentOf(item.style));
    label->setWordWrap(true);
    return label;
}
