#include "controls/MyStatic.h"

#include "platform/core/MulDiv.h"
#include "platform/gdi/SysColor.h"

#include <cstring>

namespace
{
constexpr int TextFlash = 1;
constexpr int BackgroundFlash = 2;
} // namespace

MyStatic::MyStatic()
    : m_textColor(GetSysColor(COLOR_WINDOWTEXT)), m_bkBrush(GetSysColor(COLOR_BTNFACE)),
      m_hollowBrush(static_cast<CBrush*>(CGdiObject::GetStockObject(NULL_BRUSH)))
{
    const auto* gui = static_cast<const CFont*>(CGdiObject::GetStockObject(DEFAULT_GUI_FONT));
    if (gui && gui->GetLogFont(&m_logFont))
        m_font.CreateFontIndirect(&m_logFont);
}

void MyStatic::PreSubclassWindow()
{
    RouteMessages();
}

void MyStatic::Redraw()
{
    RedrawNow();
}

MyStatic& MyStatic::SetText(const CString& text)
{
    if (m_flashMode != 0) {
        m_pendingText = text;
        return *this;
    }
    m_text = text;
    m_pendingText.Empty();
    SetWindowText(m_text);
    Redraw();
    return *this;
}

MyStatic& MyStatic::SetTextColor(COLORREF color)
{
    m_textColor = color;
    Redraw();
    return *this;
}

MyStatic& MyStatic::SetBkColor(COLORREF color)
{
    m_bkBrush.DeleteObject();
    if (m_bkBrush.CreateSolidBrush(color))
        Redraw();
    return *this;
}

MyStatic& MyStatic::EditFont(void (*edit)(LOGFONT&, int), int value)
{
    edit(m_logFont, value);
    ReconstructFont();
    Redraw();
    return *this;
}

MyStatic& MyStatic::SetFontBold(bool bold)
{
    return EditFont([](LOGFONT& lf, int on) { lf.lfWeight = on ? FW_BOLD : FW_NORMAL; }, bold);
}

MyStatic& MyStatic::SetFontItalic(bool italic)
{
    return EditFont([](LOGFONT& lf, int on) { lf.lfItalic = BYTE(on); }, italic);
}

MyStatic& MyStatic::SetFontUnderline(bool underline)
{
    return EditFont([](LOGFONT& lf, int on) { lf.lfUnderline = BYTE(on); }, underline);
}

MyStatic& MyStatic::SetFontSize(int size)
{
    return EditFont([](LOGFONT& lf, int pixels) { lf.lfHeight = -pixels; }, size);
}

MyStatic& MyStatic::SetFontName(const CString& name)
{
    std::strncpy(m_logFont.lfFaceName, name, LF_FACESIZE - 1);
    m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    ReconstructFont();
    Redraw();
    return *this;
}

MyStatic& MyStatic::SetSunken(bool sunken)
{
    ModifyStyleEx(sunken ? 0 : WS_EX_STATICEDGE, sunken ? WS_EX_STATICEDGE : 0, SWP_FRAMECHANGED);
    Redraw();
    return *this;
}

MyStatic& MyStatic::SetBorder(bool border)
{
    ModifyStyle(border ? 0 : WS_BORDER, border ? WS_BORDER : 0, SWP_FRAMECHANGED);
    Redraw();
    return *this;
}

void MyStatic::ReconstructFont()
{
    if (m_font.DeleteObject())
        m_font.CreateFontIndirect(&m_logFont);
}

int MyStatic::GetFontSize() const
{
    const QWidget* widget = GetSafeHwnd();
    if (!widget)
        return 0;
    return -MulDiv(m_logFont.lfHeight, 72, widget->logicalDpiY());
}

MyStatic& MyStatic::FlashText(bool on, int duration, int period)
{
    if (m_flashing)
        StopFlash(true);
    if (on) {
        GetWindowText(m_text);
        StartFlash(TextFlash, duration, period);
    }
    return *this;
}

MyStatic& MyStatic::FlashBackground(bool on, int duration, int period)
{
    // A text flash it ends leaves its text shown; its own does not touch the text.
    if (m_flashing)
        StopFlash(m_flashMode == TextFlash);
    if (on)
        StartFlash(BackgroundFlash, duration, period);
    return *this;
}

void MyStatic::StartFlash(int mode, int duration, int period)
{
    m_flashPhase = false;
    m_flashElapsed = 0;
    m_flashDuration = duration;
    m_flashPeriod = period;
    m_flashing = true;
    SetTimer(FlashTimer, UINT(period));
    m_flashMode = mode;
}

void MyStatic::StopFlash(bool showText)
{
    KillTimer(FlashTimer);
    if (showText)
        SetWindowText(m_text);
    m_flashing = false;
    m_flashPhase = false;
    m_flashMode = 0;
    if (!m_pendingText.IsEmpty()) {
        m_text = m_pendingText;
        m_pendingText.Empty();
        SetWindowText(m_text);
    }
    Redraw();
}

void MyStatic::OnTimer(UINT_PTR id)
{
    m_flashPhase = !m_flashPhase;
    m_flashElapsed += m_flashPeriod;
    const bool ended = m_flashDuration != -1 && m_flashElapsed > m_flashDuration && !m_flashPhase;
    if (ended)
        m_flashElapsed = 0;
    if (!m_pendingText.IsEmpty() && m_flashMode == TextFlash && m_flashPhase) {
        m_text = m_pendingText;
        m_pendingText.Empty();
    }
    if (m_flashMode == TextFlash)
        SetWindowText(m_flashPhase ? "" : m_text);
    else if (m_flashMode == BackgroundFlash)
        RedrawNow();
    if (ended)
        StopFlash(false);
    CStatic::OnTimer(id);
}

void MyStatic::OnClicked()
{
    if (m_flashing)
        StopFlash(true);
}

HBRUSH MyStatic::CtlColor(CDC* dc, UINT kind)
{
    if (kind == CTLCOLOR_STATIC) {
        dc->SelectObject(&m_font);
        dc->SetTextColor(m_textColor);
        dc->SetBkMode(TRANSPARENT);
        if (m_text.IsEmpty())
            GetWindowText(m_text);
    }
    if (m_flashMode == BackgroundFlash && !m_flashPhase)
        return m_hollowBrush;
    return m_bkBrush.IsCreated() ? &m_bkBrush : nullptr;
}
