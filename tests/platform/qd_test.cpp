#include <gtest/gtest.h>

#include "platform/qd/Cursor.h"
#include "platform/qd/Port.h"

using namespace qm::qd;

TEST(QdPort, OriginRelabelsPixelsAndConvertsToScreen)
{
    Port* port = Port::Create(100, 50);
    ASSERT_TRUE(port);
    port->SetScreenPosition(200, 300);
    port->SetOrigin(-10, -20);
    Rect b = port->Bounds();
    EXPECT_EQ(-20, b.top);
    EXPECT_EQ(-10, b.left);
    EXPECT_EQ(30, b.bottom);
    EXPECT_EQ(90, b.right);
    Point pt{0, 0}; // local (h 0, v 0) is pixel (10, 20)
    port->LocalToGlobal(pt);
    EXPECT_EQ(210, pt.h);
    EXPECT_EQ(320, pt.v);
    port->GlobalToLocal(pt);
    EXPECT_EQ(0, pt.h);
    EXPECT_EQ(0, pt.v);
    delete port;
}

TEST(QdPort, DestroyedPortIsNeitherCurrentNorLive)
{
    Port* port = Port::Create(10, 10);
    ASSERT_TRUE(port);
    SetPort(port);
    EXPECT_TRUE(IsLivePort(port));
    delete port;
    EXPECT_EQ(nullptr, GetPort());
    EXPECT_FALSE(IsLivePort(port));
    EXPECT_EQ(nullptr, Port::Create(0, 10));
}

TEST(QdPort, ResizeKeepsPixelsAndRegionsCutInvertedRects)
{
    Port* port = Port::Create(4, 4);
    ASSERT_TRUE(port);
    EXPECT_TRUE(port->Resize(8, 2));
    EXPECT_EQ(8, port->Width());
    EXPECT_FALSE(port->Resize(-1, 2));
    EXPECT_EQ(8, port->Width());
    delete port;

    Region r;
    r.SetRect(10, 10, 5, 20);
    EXPECT_TRUE(r.IsEmpty());
    r.SetRect(0, 0, 70000, 10); // clamped into 16 bits
    EXPECT_EQ(32767, r.Bounds().right);
    EXPECT_TRUE(r.Contains(5, 5));
    EXPECT_FALSE(r.Contains(5, 10));
}

TEST(QdCursor, SetAndReset)
{
    Cursor c{};
    c.data[0] = 0xFFFF;
    SetCursor(&c);
    EXPECT_FALSE(CursorIsArrow());
    EXPECT_EQ(0xFFFF, CurrentCursor().data[0]);
    InitCursor();
    EXPECT_TRUE(CursorIsArrow());
}
