#pragma once
// A static text that its owner dresses: text colour, background colour, font face, size,
// weight, italic and underline, a sunken edge or a border, each through a setter that returns
// the control, so that calls chain. It can flash its text or its background on timer 1, for a
// time or until stopped; a click stops the flash when the control has the SS_NOTIFY style.
//
// Leaving a flash (it ran out, was stopped or was clicked) brings the control back to rest: a
// text given to SetText meanwhile is taken over, SetText shows at once again and the background
// brush is used again. A face name longer than 31 characters is cut to 31.
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/windows/CStatic.h"

class MyStatic : public CStatic
{
public:
    static constexpr UINT_PTR FlashTimer = 1;

    MyStatic();
    ~MyStatic() override = default;

    MyStatic& SetText(const CString& text);
    MyStatic& SetTextColor(COLORREF color);
    MyStatic& SetBkColor(COLORREF color);
    MyStatic& SetFontBold(bool bold);
    MyStatic& SetFontItalic(bool italic);
    MyStatic& SetFontUnderline(bool underline);
    // size is a character height in pixels.
    MyStatic& SetFontSize(int size);
    MyStatic& SetFontName(const CString& name);
    MyStatic& SetSunken(bool sunken);
    MyStatic& SetBorder(bool border);
    // duration in milliseconds, -1 until stopped; period is the timer's.
    MyStatic& FlashText(bool on, int duration, int period);
    MyStatic& FlashBackground(bool on, int duration, int period);

    // The font size in points at the control's pixels per inch; 0 without a window.
    int GetFontSize() const;
    const LOGFONT& GetLogFont() const { return m_logFont; }

    HBRUSH CtlColor(CDC* dc, UINT kind) override;
    void OnTimer(UINT_PTR id) override;
    void OnClicked() override;
    void PreSubclassWindow() override;

private:
    void ReconstructFont();
    void Redraw();
    void StartFlash(int mode, int duration, int period);
    void StopFlash(bool showText);
    MyStatic& EditFont(void (*edit)(LOGFONT&, int), int value);

    COLORREF m_textColor;
    CBrush m_bkBrush;
    HBRUSH m_hollowBrush;
    bool m_flashing = false;
    bool m_flashPhase = false;
    int m_flashMode = 0; // 0 at rest, 1 text flash, 2 background flash
    int m_flashDuration = -1;
    int m_flashElapsed = 0;
    int m_flashPeriod = 0;
    LOGFONT m_logFont{};
    CFont m_font;
    CString m_text;
    CString m_pendingText;
};
