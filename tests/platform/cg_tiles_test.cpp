// Tile residency of a tall or wide bitmap: with allocation on draw off, only
// tiles made resident take pixels, and a dropped tile reads transparent
// again. Shapes drawn far down or far right, across tile edges, draw as on
// one surface.

#include <gtest/gtest.h>

#include "platform/cg/Context.h"

#include <algorithm>
#include <vector>

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

// A tiled bitmap of any height costs only its resident tiles, and keeps
// allocation on draw off when the whole would be more than a bitmap owns.
TEST(CgTiles, ATiledBitmapOfAnyHeightHoldsOnlyItsResidentTiles)
{
    EXPECT_FALSE(Context::CreateTiledBitmap(0, 10));
    EXPECT_FALSE(Context::CreateTiledBitmap(Context::kMaxTiledWidth + 1, 10));
    // Past kMaxTiles tiles: 2^11 bands of 2^11 columns.
    EXPECT_FALSE(Context::CreateTiledBitmap(2048 * Context::kTileColumns, 2048 * Context::kTileRows));
    auto ctx = Context::CreateTiledBitmap(30000, 2000000); // 240 GB painted whole
    ASSERT_TRUE(ctx);
    EXPECT_EQ(0, ctx->AllocatedTiles());
    ctx->SetAllocateOnDraw(true);
    ctx->SetRGBFillColor(0, 0, 1, 1);
    ctx->FillRect(Rect{0, 0, 30000, 2000000});
    EXPECT_EQ(0, ctx->AllocatedTiles());
    ASSERT_TRUE(ctx->MakeTileResident(ctx->TileCount() - 1));
    ctx->FillRect(Rect{0, 0, 30000, 2000000});
    EXPECT_EQ(1, ctx->AllocatedTiles());
    EXPECT_EQ(255, ctx->ReadPixel(29999, 1999999).blue);
}

// cairo's fixed-point device coordinates wrap past 2^23 pixels. Shapes near
// the bottom of a bitmap 12 million rows tall, and rectangles reaching from
// there to its top, draw on the last tile as on a bitmap of three tiles.
TEST(CgTiles, ShapesFarDownATallBitmapDrawAsOnAShortOne)
{
    auto scene = [](int height) {
        auto ctx = Context::CreateTiledBitmap(40, height);
        EXPECT_TRUE(ctx && ctx->MakeTileResident(ctx->TileCount() - 1));
        if (!ctx)
            return std::vector<qm::cg::Pixel>();
        const double h = height;
        // User space is y-up: small y is near the bottom whatever the height.
        ctx->SetRGBFillColor(1, 1, 0.8, 1);
        ctx->FillRect(Rect{0, 100, 40, h}); // a background up to the top
        ctx->SetRGBFillColor(1, 0, 0, 1);
        ctx->FillRect(Rect{2, 100, 3, h - 100}); // a side of an element
        ctx->SetLineWidth(2);
        ctx->SetRGBStrokeColor(0, 0, 1, 1);
        ctx->StrokeRect(Rect{8, 90, 30, h});
        const double dash[2] = {3, 2};
        ctx->SetLineDash(0, dash, 2);
        ctx->BeginPath();
        ctx->MoveToPoint(6, 40.5);
        ctx->AddLineToPoint(36, 40.5);
        ctx->AddEllipseInRect(Rect{10, 10, 20, 16});
        ctx->StrokePath();
        ctx->SaveGState();
        ctx->ClipToRect(Rect{20, 50, 20, h}); // from row 50 to the top
        ctx->SetRGBFillColor(0, 0.5, 0, 0.5);
        ctx->FillRect(Rect{0, 0, 40, 70});
        ctx->RestoreGState();
        std::vector<qm::cg::Pixel> bottom;
        for (int row = height - 200; row < height; ++row)
            for (int x = 0; x < 40; ++x)
                bottom.push_back(ctx->ReadPixel(x, row));
        return bottom;
    };
    const std::vector<qm::cg::Pixel> near = scene(3 * Context::kTileRows), far = scene(12000000);
    ASSERT_EQ(near.size(), far.size());
    int differ = 0;
    for (size_t i = 0; i < near.size(); ++i)
        differ += near[i].red != far[i].red || near[i].green != far[i].green || near[i].blue != far[i].blue
            || near[i].alpha != far[i].alpha;
    EXPECT_EQ(0, differ);
    EXPECT_EQ(255, near[40 * 50 + 3].red) << "the side of the element, 150 rows up";
}

// Drawing visits only the tiles a shape's rows reach: a shape whose edge
// falls inside the first or last row of a tile, or just across an edge,
// paints those rows as one surface of the whole height does.
TEST(CgTiles, ShapesWithEdgesInsideRowsReachEveryTileTheyTouch)
{
    const int t = Context::kTileRows, w = 6, h = 3 * t;
    struct Case
    {
        double top, bottom; // device rows, top-down
    };
    const Case cases[] = {
        {t - 0.5, t + 0.5},         // half a row on each side of an edge
        {t - 0.75, t - 0.25},       // inside the last row of a tile
        {t + 0.25, t + 0.75},       // inside the first row of the next
        {2 * t - 0.1, 2 * t + 0.1}, // a sliver across the second edge
        {t - 3, 2 * t + 3},         // a whole tile and a little of each neighbour
        {h - 0.5, h + 4},           // past the bottom of the bitmap
    };
    for (const Case& c : cases) {
        auto tiled = Context::CreateTiledBitmap(w, h);
        ASSERT_TRUE(tiled);
        for (int i = 0; i < tiled->TileCount(); ++i)
            ASSERT_TRUE(tiled->MakeTileResident(i));
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        auto whole = Context::CreateForSurface(surface);
        cairo_surface_destroy(surface);
        ASSERT_TRUE(whole);
        for (Context* ctx : {tiled.get(), whole.get()}) {
            ctx->SetRGBFillColor(0.2, 0.4, 1, 1);
            ctx->FillRect(Rect{1, h - c.bottom, 4, c.bottom - c.top});
        }
        int differ = 0, painted = 0;
        for (int row = std::max(0, int(c.top) - 2); row < std::min(h, int(c.bottom) + 3); ++row) {
            for (int x = 0; x < w; ++x) {
                const qm::cg::Pixel a = tiled->ReadPixel(x, row), b = whole->ReadPixel(x, row);
                differ += a.red != b.red || a.green != b.green || a.blue != b.blue || a.alpha != b.alpha;
                painted += b.alpha != 0;
            }
        }
        EXPECT_GT(painted, 0) << c.top;
        EXPECT_EQ(0, differ) << c.top;
    }
}

// Past 32767 pixels across, a tiled bitmap's bands are cut into columns of
// kTileColumns: each tile is resident on its own, and shapes reaching across
// a column edge 12 million pixels from the left, or from there to the left
// edge, draw as on one surface near its left edge. The pixels read back a
// row at a time, as a picture and moved by rows alike.
TEST(CgTiles, ShapesFarRightOnAWideBitmapDrawAsOnOneSurface)
{
    const int h = 60, across = 300;
    auto scene = [&](Context& ctx, double x0) {
        const double w = ctx.Width();
        ctx.SetRGBFillColor(1, 1, 0.8, 1);
        ctx.FillRect(Rect{0, 0, w, h}); // a background from the left edge
        ctx.SetRGBFillColor(1, 0, 0, 1);
        ctx.FillRect(Rect{x0 + 2, 5, w, 3}); // a side reaching to the right edge
        ctx.SetLineWidth(2);
        ctx.SetRGBStrokeColor(0, 0, 1, 1);
        ctx.StrokeRect(Rect{x0 + 8, 10, 270.5, 30});
        const double dash[2] = {3, 2};
        ctx.SetLineDash(0, dash, 2);
        ctx.BeginPath();
        ctx.MoveToPoint(x0 + 6, 45.5);
        ctx.AddLineToPoint(x0 + 290, 45.5);
        ctx.AddEllipseInRect(Rect{x0 + 130, 15, 40.5, 16});
        ctx.StrokePath();
        ctx.SaveGState();
        ctx.ClipToRect(Rect{x0 + 140, 0, w, 50}); // to the right edge
        ctx.SetRGBFillColor(0, 0.5, 0, 0.5);
        ctx.FillRect(Rect{0, 20, w, 10});
        ctx.RestoreGState();
        ctx.DrawWithCairo(Rect{x0 + 100, 0, 100, h}, true, "Triangle", [&](cairo_t* cr) {
            cairo_move_to(cr, x0 + 100, 2);
            cairo_line_to(cr, x0 + 200, 2);
            cairo_line_to(cr, x0 + 150, 58);
            cairo_set_source_rgba(cr, 0.5, 0, 0.5, 0.7);
            cairo_fill(cr);
        });
    };
    auto rows = [&](const Context& ctx, int x0) {
        std::vector<unsigned char> out(std::size_t(across) * 4 * h);
        for (int row = 0; row < h; ++row)
            ctx.ReadRow(x0, row, across, out.data() + std::size_t(row) * across * 4);
        return out;
    };
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, h);
    auto whole = Context::CreateForSurface(surface);
    cairo_surface_destroy(surface);
    ASSERT_TRUE(whole);
    scene(*whole, 50);
    const std::vector<unsigned char> expected = rows(*whole, 50);

    const int edge = 2900 * Context::kTileColumns, x0 = edge - 150;
    auto wide = Context::CreateTiledBitmap(12000000, h);
    ASSERT_TRUE(wide);
    EXPECT_EQ(12000000 / Context::kTileColumns + 1, wide->TileColumns());
    EXPECT_EQ(2900, wide->ColumnOfX(edge));
    EXPECT_EQ(edge, wide->TileLeft(2900));
    EXPECT_EQ(12000000 % Context::kTileColumns, wide->TileWidth(wide->TileCount() - 1));
    ASSERT_TRUE(wide->MakeTileResident(2899) && wide->MakeTileResident(2900));
    EXPECT_EQ(4LL * Context::kTileColumns * h, wide->TileBytes(2900));
    scene(*wide, x0);
    EXPECT_EQ(2, wide->AllocatedTiles());
    EXPECT_EQ(expected, rows(*wide, x0));

    // As a picture across the edge.
    const qm::cg::ImageRef picture = wide->CreateImage(x0, 0, across, h);
    ASSERT_TRUE(picture);
    auto copy = Context::CreateForSurface(picture->Surface());
    ASSERT_TRUE(copy);
    EXPECT_EQ(expected, rows(*copy, 0));

    // Rows moved up by 7: every resident column moves, the others take no
    // part; a column resident in only part of the rows refuses the move.
    ASSERT_TRUE(wide->CopyRows(7, 0, h - 7));
    const std::vector<unsigned char> moved = rows(*wide, x0);
    EXPECT_TRUE(std::equal(expected.begin() + 7 * across * 4, expected.end(), moved.begin()));
    auto tall = Context::CreateTiledBitmap(40000, 2 * Context::kTileRows);
    ASSERT_TRUE(tall && tall->MakeTileResident(1)); // band 0, column 1
    EXPECT_TRUE(tall->CopyRows(0, Context::kTileRows - 10, 5));
    EXPECT_FALSE(tall->CopyRows(0, Context::kTileRows, 5)) << "band 1 of column 1 holds no pixels";
    EXPECT_FALSE(tall->CopyRows(Context::kTileRows, Context::kTileRows + 10, 5)) << "no column takes part";
}
