#pragma once
// The framework's static control: a text (left, centred or right, wrapped at words) or an
// icon. In a template, an icon static's text is the icon's resource id.
//
// A class derived from it can dress the text: once it routes its messages (RouteMessages) the
// control paints itself as the system's static does, asking the parent's colour request, which
// reaches the control's own CtlColor (the framework reflects it), for the font, colours and
// background brush. Mouse messages reach the control only with SS_NOTIFY (the system's static
// is transparent to the mouse otherwise), and then a click reaches OnClicked.
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

#include <QIcon>

// Kinds of control in a colour request.
constexpr UINT CTLCOLOR_EDIT = 1;
constexpr UINT CTLCOLOR_STATIC = 6;

class CStatic : public CWnd
{
public:
    // Shows icon in place of the text, at the control's size.
    void SetIcon(const QIcon& icon);

    // The colour request for this control: dc comes with the system's static colours (window
    // text on the 3D face, opaque) and the control's font; the result fills the background.
    // A null result leaves the default 3D face brush; the null brush fills nothing, so the
    // parent shows through.
    virtual HBRUSH CtlColor(CDC* dc, UINT kind);
    // The control was clicked (SS_NOTIFY only).
    virtual void OnClicked();

    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    LRESULT OnNcHitTest(CPoint point) override;

    // Makes the widget of a template item of class "Static".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);

private:
    // Draws the border and edge styles; returns the client area inside them.
    CRect DrawFrame(CDC& dc) const;
};
