#pragma once
// A static text that behaves like a web link: drawn in the link colour, in the hover colour
// while the mouse is over it (option HoverColor), in the visited colour for good once its URL
// was opened; a click or Space opens the URL. The parent's background shows through it.
//
// The URL opens through the shell; when the shell cannot open it, through the command
// registered for .htm files under HKEY_CLASSES_ROOT, with the URL appended as one argument
// (quoted when it holds a blank or a quote, so that it cannot add arguments of its own).
// OpenLinkTarget opens any URL this way on its own. The link cursor is the desktop's pointing
// hand.
#include "platform/registry/WinReg.h"
#include "platform/windows/CStatic.h"

class MyHyperlink : public CStatic
{
public:
    // Option bits.
    static constexpr UINT HoverColor = 0x02;
    static constexpr UINT FollowOnButtonDown = 0x08;
    static constexpr UINT FocusOnButtonDown = 0x10;

    // Shared by every hyperlink.
    static constexpr COLORREF LinkColor = RGB(0, 0, 255);
    static constexpr COLORREF VisitedColor = RGB(0, 128, 128);
    static constexpr COLORREF HoverColorValue = RGB(255, 0, 0);

    MyHyperlink() = default;
    ~MyHyperlink() override = default;

    void SetURL(const CString& url) { m_url = url; }
    const CString& GetURL() const { return m_url; }
    void SetOptions(UINT options) { m_options = options; }
    UINT GetOptions() const { return m_options; }

    // Opens the URL; a success marks the link visited.
    void FollowLink();
    // Above 32 on success: the shell's result, or else the registered command's launcher's.
    static int OpenLinkTarget(LPCSTR url, int show);
    // The default value of root\subKey; 0 or the registry's error (ERROR_MORE_DATA for a value
    // longer than 259 characters, which is not cut).
    static long ReadKeyDefaultValue(HKEY root, LPCSTR subKey, CString& value);
    // The registered command line made to open url: cut at its placeholder ("%1" in quotes,
    // else a bare %1), then a space and url as one argument.
    static CString CommandForUrl(const CString& registered, const CString& url);

    void PreSubclassWindow() override;
    HBRUSH CtlColor(CDC* dc, UINT kind) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    LRESULT OnNcHitTest(CPoint point) override;

private:
    bool m_hovering = false;
    bool m_visited = false;
    UINT m_options = HoverColor;
    CString m_url;
};
