#pragma once
// The up-down control: two arrow buttons, side by side (UDS_HORZ) or stacked, and a position in
// a range. A click on an arrow, an arrow held down, or an arrow key while the control has the
// focus (UDS_ARROWKEYS) first tells the parent UDN_DELTAPOS with the step; a non-zero answer
// keeps the position where it is. The right and up arrows step towards the range's upper end.
//
// The default range runs from 100 (lower) to 0 (upper), as on the system, so that, untouched,
// the right and up arrows report a delta of -1 and the left and down arrows +1.
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

constexpr UINT UDN_DELTAPOS = UINT(-722);

struct NMUPDOWN {
    NMHDR hdr;
    int iPos;   // the position before the step
    int iDelta; // the proposed change
};

class CSpinButtonCtrl : public CWnd
{
public:
    int GetPos() const;
    // Clamped to the range; returns the previous position.
    int SetPos(int pos);
    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;

    // Makes the widget of a template item of class "msctls_updown32".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);
};
