#pragma once
// A single-line edit that can take an input mask: a fixed-length template whose input
// positions take characters of a class (digits, letters, ...) and whose other positions hold
// literals. While masked, typing overwrites the character at the caret, a literal at the caret
// is stepped over, refused characters beep and change nothing, and Backspace puts the
// placeholder back instead of deleting. Unmasked it is the platform's edit. It can carry a font
// of its own, and show a raised frame while it has the focus.
//
// Mask characters: # a digit, a space, k or m; & any printable character; 0 a digit; 9 a digit
// or a space; ? a letter or a space; A a letter or a digit; L a letter; a a letter, a digit or
// a space; any other character nothing. A character counts as printable unless it is a control
// character, so that letters beyond ASCII meet the mask (and are refused) instead of slipping
// past it.
#include "platform/gdi/CFont.h"
#include "platform/windows/CEdit.h"

#include <memory>

class MyEdit : public CEdit
{
public:
    MyEdit() = default;
    ~MyEdit() override = default;

    // Sets the mask and shows prompt. literal has _ at every input position and the literal
    // elsewhere; all three have one character per position. True when the first position
    // takes input (literal is empty or starts with a space or _).
    bool ApplyInputMask(const CString& mask, const CString& literal, const CString& prompt,
                        const CString& validChars);
    // A font of pointSize points in face faceName for the text.
    void SetEditFont(const CString& faceName, int pointSize);
    // The text up to the first input position that still shows its prompt character.
    CString GetEnteredText() const;
    void SetFocusFrame(bool on) { m_focusFrame = on; }

    // The typing rule of one position, needing no window: ch (case already converted) is
    // among the valid characters and allowed by the mask character at pos.
    bool AcceptsAt(UINT ch, int pos) const;
    static bool MaskAllows(char maskChar, UINT ch);
    static bool IsPrintable(UINT ch) { return ch >= 0x20 && ch != 0x7F; }

    void PreSubclassWindow() override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    bool CheckChar(UINT ch);
    bool Accepts(UINT ch);
    void TypeMasked(UINT ch, UINT repeat, UINT flags);
    void Backspace();
    void Feed(char ch);
    void Refuse();

    bool m_maskActive = false;
    bool m_forwarding = false;
    CString m_validChars;
    CString m_mask;
    CString m_literal;
    CString m_prompt;
    CString m_fontFace;
    int m_fontPoints = 0;
    std::unique_ptr<CFont> m_font;
    bool m_focusFrame = false;
};
