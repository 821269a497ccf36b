#include "controls/MyListCtrlLparam.h"

#include "platform/core/CRect.h"
#include "platform/gdi/SysColor.h"

#include <gtest/gtest.h>

TEST(MyListCtrlLparam, DefaultColoursAndTips)
{
    const MyListCtrlLparam row;
    using T = MyListCtrlLparam;
    const struct {
        int type;
        COLORREF plain, bookmarked;
    } cases[] = {
        {T::ColorText, GetSysColor(COLOR_WINDOWTEXT), 0x000000},
        {T::ColorBack, GetSysColor(COLOR_WINDOW), 0xFFFF00},
        {T::ColorSelectedText, GetSysColor(COLOR_HIGHLIGHTTEXT), 0xFFFFFF},
        {T::ColorSelectedBack, GetSysColor(COLOR_HIGHLIGHT), 0xFF0000},
        {4, 0, 0},
        {-1, 0, 0},
    };
    for (const auto& c : cases) {
        const auto type = MyListCtrlLparam::ColorType(c.type);
        EXPECT_EQ(row.GetColor(0, type, "x", false), c.plain) << c.type;
        EXPECT_EQ(row.GetColor(2, type, "", true), c.bookmarked) << c.type;
    }
    MyListCtrlLparam tipRow;
    for (int column = 0; column < 3; ++column)
        EXPECT_TRUE(tipRow.ProvideTipText(nullptr, column, CRect(0, 0, 10, 10)).IsEmpty());
}
