#include "controls/MyListCtrlLparam.h"

#include <gtest/gtest.h>

// The in-range colours show in MyListCtrlDrawTest; a type out of range must not read past the
// table.
TEST(MyListCtrlLparam, ColourTypesOutOfRangeGiveBlack)
{
    const MyListCtrlLparam row;
    for (const int type : {4, -1}) {
        const auto colorType = MyListCtrlLparam::ColorType(type);
        EXPECT_EQ(row.GetColor(0, colorType, "x", false), 0u) << type;
        EXPECT_EQ(row.GetColor(2, colorType, "", true), 0u) << type;
    }
}
