#include "platform/windows/CEdit.h"

#include <QLineEdit>
#include <cctype>

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd());
    if (!edit)
        return FALSE;
    edit->setReadOnly(readOnly);
    return TRUE;
}

void CEdit::GetSel(int& start, int& end) const
{
    const auto* edit = qobject_cast<const QLineEdit*>(GetSafeHwnd());
    start = end = edit ? edit->cursorPosition() : 0;
    if (edit && edit->hasSelectedText()) {
        start = edit->selectionStart();
        end = edit->selectionEnd();
    }
}

void CEdit::SetSel(int start, int end, BOOL)
{
    auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd());
    if (!edit)
        return;
    if (start == end)
        edit->setCursorPosition(start);
    else
        edit->setSelection(start, end - start);
}

void CEdit::Clear()
{
    if (auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd()); edit && edit->hasSelectedText())
        edit->del();
}

void CEdit::PreSubclassWindow()
{
    RouteMessages();
}

void CEdit::OnChar(UINT ch, UINT, UINT)
{
    const DWORD style = GetStyle();
    UINT typed = ch;
    if (ch < 0x80 && (style & ES_UPPERCASE))
        typed = UINT(std::toupper(int(ch)));
    else if (ch < 0x80 && (style & ES_LOWERCASE))
        typed = UINT(std::tolower(int(ch)));
    auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd());
    if (typed == ch || !edit)
        Default();
    else
        edit->insert(QString(QChar(char16_t(typed))));
}

void CEdit::OnFrameChanged()
{
    if (auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd()))
        edit->setStyleSheet(GetExStyle() & WS_EX_DLGMODALFRAME
                                ? "QLineEdit { border: 2px outset palette(button); }"
                                : "");
}

QWidget* CEdit::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    auto* edit = new QLineEdit(QString::fromUtf8(item.text), parent);
    edit->setGeometry(rect);
    edit->setReadOnly(item.style & ES_READONLY);
    return edit;
}
