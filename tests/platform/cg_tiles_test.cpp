// Tile residency of a tall bitmap: with allocation on draw off, only tiles
// made resident take pixels, and a dropped tile reads transparent again.

#include <gtest/gtest.h>

#include "platform/cg/Context.h"

using qm::cg::Context;
using qm::cg::Rect;

TEST(CgTiles, DrawingReachesOnlyResidentTilesWhenAllocationIsOff)
{
    const int h = 3 * Context::kTileRows;
    auto ctx = Context::CreateBitmap(nullptr, 20, h, 0);
    ASSERT_TRUE(ctx);
    ASSERT_EQ(3, ctx->TileCount());
    EXPECT_EQ(1, ctx->TileOfRow(Context::kTileRows));
    EXPECT_EQ(-1, ctx->TileOfRow(h));
    ctx->SetAllocateOnDraw(false);
    ASSERT_TRUE(ctx->MakeTileResident(1));
    EXPECT_EQ(0, ctx->ReadPixel(3, Context::kTileRows).alpha); // resident, still transparent
    ctx->SetRGBFillColor(0, 1, 0, 1);
    ctx->FillRect(Rect{0, 0, 20, double(h)}); // the whole bitmap
    EXPECT_EQ(1, ctx->AllocatedTiles());
    EXPECT_EQ(0, ctx->ReadPixel(3, 0).alpha);
    EXPECT_EQ(255, ctx->ReadPixel(3, Context::kTileRows + 5).green);
    EXPECT_EQ(4LL * 20 * Context::kTileRows, ctx->TileBytes(1));

    ctx->DropTile(1);
    EXPECT_FALSE(ctx->IsTileResident(1));
    EXPECT_EQ(0, ctx->ReadPixel(3, Context::kTileRows + 5).alpha);
    EXPECT_FALSE(ctx->MakeTileResident(7));
}
