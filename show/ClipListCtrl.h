#pragma once
// The clip list: a MyListCtrl whose header sort is followed by the show itself, so that what is
// played, totalled and saved is always the order the user sees.
#include "controls/MyListCtrl.h"

#include <functional>

class ClipListCtrl : public MyListCtrl
{
public:
    explicit ClipListCtrl(std::function<void()> onSorted) : m_onSorted(std::move(onSorted)) {}

protected:
    void OnColumnclick(NMHDR* header, LRESULT* result) override
    {
        MyListCtrl::OnColumnclick(header, result);
        m_onSorted();
    }

private:
    std::function<void()> m_onSorted;
};
