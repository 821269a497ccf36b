#include "platform/core/CRect.h"

#include <gtest/gtest.h>

TEST(CRect, ExclusiveEdgesAndQueries)
{
    const CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.Size(), CSize(20, 40));
    const struct {
        CPoint point;
        bool inside;
    } points[] = {
        {{10, 20}, true}, {{29, 59}, true}, {{30, 59}, false}, {{29, 60}, false}, {{9, 20}, false}};
    for (const auto& p : points)
        EXPECT_EQ(r.PtInRect(p.point), p.inside) << p.point.x << "," << p.point.y;
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 4, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 6, 6).IsRectEmpty());
}

TEST(CRect, MovingSizingAndCombining)
{
    CRect r(10, 20, 30, 60);
    r.OffsetRect(5, -5);
    EXPECT_EQ(r, CRect(15, 15, 35, 55));
    r.InflateRect(1, 2);
    EXPECT_EQ(r, CRect(14, 13, 36, 57));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(15, 15, 33, 53));
    r.InflateRect(CSize(-1, -1));
    EXPECT_EQ(r, CRect(16, 16, 32, 52));
    CRect flipped(30, 60, 10, 20);
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(10, 20, 30, 60));

    const struct {
        CRect a, b, intersection, unionRect;
        bool overlaps;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, {0, 0, 15, 15}, true},
        {{0, 0, 10, 10},
         {10, 0, 20, 10},
         {},
         {0, 0, 20, 10},
         false},                                                   // touching edges share no point
        {{0, 0, 10, 10}, {3, 3, 3, 8}, {}, {0, 0, 10, 10}, false}, // an empty one is ignored
    };
    for (const auto& c : cases) {
        CRect out(1, 1, 2, 2);
        EXPECT_EQ(out.IntersectRect(&c.a, &c.b), c.overlaps);
        EXPECT_EQ(out, c.intersection);
        EXPECT_TRUE(out.UnionRect(c.a, c.b));
        EXPECT_EQ(out, c.unionRect);
    }
    CRect none(1, 1, 2, 2);
    EXPECT_FALSE(none.UnionRect(CRect(), CRect(4, 4, 4, 4)));
    EXPECT_TRUE(none.IsRectNull());
    CRect self(0, 0, 10, 10);
    EXPECT_TRUE(self.IntersectRect(self, CRect(2, 2, 20, 20)));
    EXPECT_EQ(self, CRect(2, 2, 10, 10));
}
