#pragma once
// The header of a MyListCtrl: a double click fits a column to its contents, then lets the list
// resize its auto-size column; on a long list, where fitting would measure every row, it only
// beeps.
#include "platform/windows/CHeaderCtrl.h"

class MyHeaderCtrl : public CHeaderCtrl
{
public:
    MyHeaderCtrl() = default;
    ~MyHeaderCtrl() override = default;

    void OnLButtonDblClk(UINT flags, CPoint point) override;
};
