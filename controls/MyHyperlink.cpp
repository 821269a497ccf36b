#include "controls/MyHyperlink.h"

#include "platform/framework/CWaitCursor.h"
#include "platform/process/CommandLine.h"
#include "platform/process/ShellExecute.h"
#include "platform/process/WinExec.h"

#include <QWidget>
#include <cstring>

void MyHyperlink::PreSubclassWindow()
{
    RouteMessages();
    GetSafeHwnd()->setCursor(Qt::PointingHandCursor);
    // Space follows the link, so Tab reaches it; a click gives it the focus only with
    // FocusOnButtonDown.
    GetSafeHwnd()->setFocusPolicy(Qt::TabFocus);
}

void MyHyperlink::FollowLink()
{
    CWaitCursor wait;
    if (OpenLinkTarget(m_url, SW_SHOW) > 32) {
        m_visited = true;
        Invalidate(TRUE);
    }
}

int MyHyperlink::OpenLinkTarget(LPCSTR url, int show)
{
    const int shell = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, show);
    if (shell > 32)
        return shell;
    CString command;
    if (ReadKeyDefaultValue(HKEY_CLASSES_ROOT, ".htm", command) != ERROR_SUCCESS)
        return shell;
    if (ReadKeyDefaultValue(HKEY_CLASSES_ROOT, command + "\\shell\\open\\command", command) !=
        ERROR_SUCCESS)
        return shell;
    return int(WinExec(CommandForUrl(command, url), UINT(show)));
}

CString MyHyperlink::CommandForUrl(const CString& registered, const CString& url)
{
    CString line = registered;
    int at = line.Find("\"%1\"");
    if (at < 0)
        at = line.Find("%1");
    if (at >= 0)
        line = line.Left(at);
    return line + " " + CString(QuoteArgument(url.Str()));
}

long MyHyperlink::ReadKeyDefaultValue(HKEY root, LPCSTR subKey, CString& value)
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key);
    if (result != LONG(ERROR_SUCCESS))
        return result;
    char buffer[MAX_PATH];
    DWORD size = sizeof(buffer);
    result =
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size);
    RegCloseKey(key);
    if (result != LONG(ERROR_SUCCESS))
        return result;
    value = CString(buffer, int(strnlen(buffer, size)));
    return ERROR_SUCCESS;
}

HBRUSH MyHyperlink::CtlColor(CDC* dc, UINT)
{
    if (m_hovering && (m_options & HoverColor))
        dc->SetTextColor(HoverColorValue);
    else
        dc->SetTextColor(m_visited ? VisitedColor : LinkColor);
    dc->SetBkMode(TRANSPARENT);
    return static_cast<CBrush*>(CGdiObject::GetStockObject(NULL_BRUSH));
}

void MyHyperlink::OnMouseMove(UINT, CPoint point)
{
    if (!m_hovering) {
        m_hovering = true;
        Invalidate(TRUE);
        SetCapture();
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
        m_hovering = false;
        ReleaseCapture();
        Invalidate(TRUE);
    }
}

void MyHyperlink::OnLButtonDown(UINT, CPoint)
{
    if (m_options & FocusOnButtonDown)
        SetFocus();
    if (m_options & FollowOnButtonDown)
        FollowLink();
}

void MyHyperlink::OnLButtonUp(UINT, CPoint)
{
    FollowLink();
}

void MyHyperlink::OnSetFocus(CWnd*)
{
    Invalidate(TRUE);
}

void MyHyperlink::OnKillFocus(CWnd*)
{
    m_hovering = false;
    Invalidate(TRUE);
}

void MyHyperlink::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_SPACE)
        FollowLink();
    else
        CStatic::OnKeyDown(key, repeat, flags);
}

LRESULT MyHyperlink::OnNcHitTest(CPoint)
{
    return HTCLIENT;
}
