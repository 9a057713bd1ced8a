// Geometry records and the packed colour value.

#include <gtest/gtest.h>

#include "base/geometry/Colour.h"
#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"
#include "base/geometry/Size.h"

TEST(Colour, RgbPacksRedInTheLowByte)
{
    EXPECT_EQ(RGB(255, 0, 0), 0x0000FFul);
    EXPECT_EQ(RGB(0, 255, 0), 0x00FF00ul);
    EXPECT_EQ(RGB(0, 0, 255), 0xFF0000ul);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412ul);
    // Each argument contributes only its low 8 bits; the top byte stays 0.
    EXPECT_EQ(RGB(0x1FF, -1, 0x100), 0x00FFFFul);
}

TEST(Colour, SelectionColourFlipsAtBrightness48)
{
    unsigned long colour = RGB(0, 0, 80), other = 12345; // brightness 8
    CalcSelectionColor(colour, other);
    EXPECT_EQ(colour, 0xFFFFFFul);
    EXPECT_EQ(other, 0ul);

    colour = RGB(160, 0, 0); // brightness exactly 48
    CalcSelectionColor(colour, other);
    EXPECT_EQ(colour, 0ul);
    EXPECT_EQ(other, 0xFFFFFFul);

    colour = RGB(159, 0, 0); // 477 / 10 = 47: still dark
    CalcSelectionColor(colour, other);
    EXPECT_EQ(colour, 0xFFFFFFul);

    colour = RGB(0, 80, 0); // green weighs 6: 48
    CalcSelectionColor(colour, other);
    EXPECT_EQ(colour, 0ul);
    EXPECT_EQ(other, 0xFFFFFFul);
}

TEST(Rect, PtInRectIsHalfOpen)
{
    const CRect rc(10, 20, 30, 40);
    EXPECT_TRUE(rc.PtInRect(CPoint(10, 20)));
    EXPECT_TRUE(rc.PtInRect(CPoint(29, 39)));
    EXPECT_FALSE(rc.PtInRect(CPoint(30, 20)));
    EXPECT_FALSE(rc.PtInRect(CPoint(10, 40)));
    EXPECT_FALSE(rc.PtInRect(CPoint(9, 25)));
    EXPECT_FALSE(rc.PtInRect(CPoint(15, 19)));
    EXPECT_FALSE(CRect(5, 5, 5, 5).PtInRect(CPoint(5, 5)));
}

TEST(Rect, CopiesAreIndependent)
{
    CRect a(1, 2, 3, 4);
    CRect b = a;
    b.left = 5;
    b.bottom = 9;
    EXPECT_EQ(a.left, 1);
    EXPECT_EQ(a.bottom, 4);
    CRect c;
    c = b;
    c.top = 7;
    EXPECT_EQ(b.top, 2);
    EXPECT_EQ(c.left, 5);

    CPoint p(1, 2);
    CPoint q(p);
    q.x = 8;
    EXPECT_EQ(p.x, 1);
    CPoint r;
    r = q;
    r.y = 6;
    EXPECT_EQ(q.y, 2);
    EXPECT_EQ(r.x, 8);
}

TEST(Rect, RectPointerViewIsTheRectangleItself)
{
    CRect rc(1, 2, 3, 4);
    RECT* raw = rc;
    raw->right = 30;
    EXPECT_EQ(rc.right, 30);
    rc.top = 20;
    EXPECT_EQ(raw->top, 20);
    // Field order of the plain record: left, top, right, bottom.
    const LONG* edges = &raw->left;
    EXPECT_EQ(edges[1], 20);
    EXPECT_EQ(edges[2], 30);
}

TEST(Rect, ConstructionAndAssignmentFromRecords)
{
    RECT plain = {1, 2, 3, 4};
    CRect a(&plain);
    EXPECT_EQ(a, CRect(1, 2, 3, 4));
    CRect b(static_cast<const RECT*>(nullptr));
    EXPECT_EQ(b, CRect(0, 0, 0, 0));
    b = &plain;
    EXPECT_EQ(b, plain);
    b = static_cast<RECT*>(nullptr); // null leaves the rectangle alone
    EXPECT_EQ(b, plain);
    RECT other = {9, 9, 9, 9};
    b = other;
    EXPECT_EQ(b.left, 9);
    a.CopyRect(&other);
    EXPECT_EQ(a, other);
    // Two equal rectangles at different addresses compare equal.
    EXPECT_TRUE(CRect(1, 1, 2, 2) == CRect(1, 1, 2, 2));
    EXPECT_TRUE(CRect(1, 1, 2, 2) != CRect(1, 1, 2, 3));
}

TEST(Rect, Arithmetic)
{
    CRect rc(10, 20, 30, 40);
    rc.OffsetRect(5, -5);
    EXPECT_EQ(rc, CRect(15, 15, 35, 35));
    rc += CPoint(1, 2);
    EXPECT_EQ(rc, CRect(16, 17, 36, 37));
    rc -= CPoint(6, 7);
    EXPECT_EQ(rc, CRect(10, 10, 30, 30));
    rc.InflateRect(2, 3);
    EXPECT_EQ(rc, CRect(8, 7, 32, 33));
    rc.DeflateRect(2, 3);
    EXPECT_EQ(rc, CRect(10, 10, 30, 30));
    rc.SetRectEmpty();
    EXPECT_EQ(rc, CRect(0, 0, 0, 0));
}

TEST(Point, ComparisonAndArithmetic)
{
    CPoint p(3, 4);
    POINT raw = {3, 4};
    EXPECT_TRUE(p == raw);
    EXPECT_FALSE(p != raw);
    p += CPoint(1, 1);
    EXPECT_EQ(p.x, 4);
    EXPECT_EQ(p.y, 5);
    p -= CPoint(4, 10);
    EXPECT_TRUE(p == CPoint(0, -5));
    EXPECT_TRUE(p != raw);
    POINT back = p;
    EXPECT_EQ(back.y, -5);

    SIZE plain = {7, 8};
    CSize s;
    s = plain;
    SIZE out = s;
    EXPECT_EQ(out.cx, 7);
    EXPECT_EQ(out.cy, 8);
}
