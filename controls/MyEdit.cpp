#include "controls/MyEdit.h"

#include "platform/process/MessageBeep.h"

#include <QWidget>
#include <algorithm>
#include <cctype>
#include <new>

namespace
{
constexpr UINT CtrlX = 24;
constexpr char InputPosition = '_';
constexpr DWORD FocusFrameStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
// The simple system beep.
constexpr UINT SimpleBeep = 0xFFFFFFFF;

bool IsDigit(UINT ch)
{
    return ch < 0x80 && std::isdigit(int(ch));
}

bool IsLetter(UINT ch)
{
    return ch < 0x80 && std::isalpha(int(ch));
}
} // namespace

bool MyEdit::ApplyInputMask(const CString& mask, const CString& literal, const CString& prompt,
                            const CString& validChars)
{
    m_mask = mask;
    m_literal = literal;
    m_prompt = prompt;
    m_validChars = validChars;
    m_maskActive = true;
    SetWindowText(m_prompt);
    SetSel(0, 0);
    return literal.SpanExcluding(" _").IsEmpty();
}

void MyEdit::SetEditFont(const CString& faceName, int pointSize)
{
    m_font.reset(new (std::nothrow) CFont);
    if (!m_font)
        return;
    m_fontPoints = pointSize;
    m_fontFace = faceName;
    m_font->CreatePointFont(pointSize * 10, m_fontFace);
    SetFont(m_font.get(), TRUE);
}

CString MyEdit::GetEnteredText() const
{
    CString text;
    GetWindowText(text);
    const int length = std::min({text.GetLength(), m_literal.GetLength(), m_prompt.GetLength()});
    for (int i = 0; i < length; ++i) {
        if (m_literal[i] == InputPosition && text[i] == m_prompt[i])
            return text.Left(i);
    }
    return text;
}

bool MyEdit::MaskAllows(char maskChar, UINT ch)
{
    switch (maskChar) {
    case '#':
        return IsDigit(ch) || ch == ' ' || ch == 'k' || ch == 'm';
    case '&':
        return ch < 0x80 && std::isprint(int(ch));
    case '0':
        return IsDigit(ch);
    case '9':
        return IsDigit(ch) || ch == ' ';
    case '?':
        return IsLetter(ch) || ch == ' ';
    case 'A':
        return IsLetter(ch) || IsDigit(ch);
    case 'L':
        return IsLetter(ch);
    case 'a':
        return IsLetter(ch) || IsDigit(ch) || ch == ' ';
    default:
        return false;
    }
}

bool MyEdit::AcceptsAt(UINT ch, int pos) const
{
    if (ch == 0 || ch >= 0x80 || m_validChars.Find(char(ch)) < 0)
        return false;
    return pos >= 0 && pos < m_mask.GetLength() && MaskAllows(m_mask[pos], ch);
}

void MyEdit::Refuse()
{
    MessageBeep(SimpleBeep);
}

bool MyEdit::CheckChar(UINT ch)
{
    SetRedraw(FALSE);
    const bool accepted = Accepts(ch);
    SetRedraw(TRUE);
    if (!accepted)
        Refuse();
    return accepted;
}

bool MyEdit::Accepts(UINT ch)
{
    if (!m_maskActive)
        return true;
    if (ch == CtrlX)
        return false;
    if (!IsPrintable(ch))
        return true;
    int start = 0, end = 0;
    GetSel(start, end);
    SetSel(start, start);
    int pos = start;
    if (pos >= m_mask.GetLength())
        return false;
    if (pos < m_literal.GetLength() && m_literal[pos] != InputPosition &&
        pos < m_prompt.GetLength()) {
        // Steps over one literal by typing it over itself.
        Feed(m_prompt[pos]);
        GetSel(pos, end);
    }
    if (ch < 0x80 && (GetStyle() & ES_LOWERCASE))
        ch = UINT(std::tolower(int(ch)));
    if (ch < 0x80 && (GetStyle() & ES_UPPERCASE))
        ch = UINT(std::toupper(int(ch)));
    return AcceptsAt(ch, pos);
}

void MyEdit::Feed(char ch)
{
    m_forwarding = true;
    SendChar(UINT(static_cast<unsigned char>(ch)));
    m_forwarding = false;
}

void MyEdit::OnChar(UINT ch, UINT repeat, UINT flags)
{
    SetRedraw(FALSE);
    TypeMasked(ch, repeat, flags);
    SetRedraw(TRUE);
}

void MyEdit::TypeMasked(UINT ch, UINT repeat, UINT flags)
{
    if (!m_forwarding && !CheckChar(ch))
        return;
    if (!m_maskActive) {
        CEdit::OnChar(ch, repeat, flags);
    } else if (IsPrintable(ch)) {
        // Overwrites the character at the caret.
        int start = 0, end = 0;
        GetSel(start, end);
        SetSel(start, end + 1);
        Clear();
        CEdit::OnChar(ch, repeat, flags);
    } else if (ch == VK_BACK) {
        Backspace();
    } else {
        CEdit::OnChar(ch, repeat, flags);
    }
}

void MyEdit::Backspace()
{
    int start = 0, end = 0;
    GetSel(start, end);
    if (start != end || start == 0 || start > m_prompt.GetLength()) {
        Refuse();
        return;
    }
    SendKeyDown(VK_LEFT);
    Feed(m_prompt[start - 1]);
    SendKeyDown(VK_LEFT);
}

void MyEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (m_maskActive && (key == VK_INSERT || key == VK_DELETE))
        return;
    CEdit::OnKeyDown(key, repeat, flags);
}

void MyEdit::PreSubclassWindow()
{
    CEdit::PreSubclassWindow();
    // Not even the parent's menu: the control keeps right clicks to itself.
    GetSafeHwnd()->setContextMenuPolicy(Qt::PreventContextMenu);
}

void MyEdit::OnRButtonUp(UINT, CPoint) {}

void MyEdit::OnSetFocus(CWnd* oldWnd)
{
    CEdit::OnSetFocus(oldWnd);
    if (m_focusFrame)
        ModifyStyleEx(0, FocusFrameStyles, SWP_FRAMECHANGED);
}

void MyEdit::OnKillFocus(CWnd* newWnd)
{
    CEdit::OnKillFocus(newWnd);
    if (m_focusFrame)
        ModifyStyleEx(FocusFrameStyles, 0, SWP_FRAMECHANGED);
}
