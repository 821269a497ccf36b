#pragma once
// Base of the objects a MyListCtrl row can carry: the object chooses its row's colours and
// cell tooltips. The list never owns, copies or deletes row objects.
#include "platform/core/CObject.h"
#include "platform/core/CString.h"

class CListCtrl;
class CRect;

class MyListCtrlLparam : public CObject
{
public:
    enum ColorType { ColorText = 0, ColorBack = 1, ColorSelectedText = 2, ColorSelectedBack = 3 };

    MyListCtrlLparam() = default;
    ~MyListCtrlLparam() override = default;

    virtual COLORREF GetColor(int column, ColorType type, const CString& text, bool bookmark) const;
    // The tooltip for one cell; empty shows none. cell is in the list's client coordinates.
    virtual CString ProvideTipText(CListCtrl* list, int column, const CRect& cell);
};
