#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/cg/Context.h"
#include "platform/cg/Image.h"

using qm::cg::Context;
using qm::cg::Pixel;
using qm::cg::Rect;

namespace {

bool IsColour(Pixel p, int r, int g, int b)
{
    return p.red == r && p.green == g && p.blue == b && p.alpha == 255;
}

} // namespace

TEST(CgContext, UserSpaceIsYUpOnCallerMemory)
{
    const int w = 8, h = 6, stride = w * 4;
    std::vector<std::uint32_t> mem(size_t(w * h), 0);
    auto ctx = Context::CreateBitmap(mem.data(), w, h, stride);
    ASSERT_TRUE(ctx);
    ctx->SetShouldAntialias(false);
    ctx->SetRGBFillColor(1, 0, 0, 1);
    ctx->FillRect(Rect{1, 0, 2, 1}); // bottom row of the bitmap, columns 1..2
    ctx->Flush();
    for (int x = 0; x < w; ++x)
        for (int row = 0; row < h; ++row) {
            Pixel p = qm::cg::ReadPixel(mem.data(), stride, x, row);
            bool inside = row == h - 1 && (x == 1 || x == 2);
            EXPECT_EQ(inside ? 255 : 0, p.alpha) << x << "," << row;
        }
    EXPECT_TRUE(IsColour(ctx->ReadPixel(1, h - 1), 255, 0, 0));
}

TEST(CgContext, RejectsImpossibleBitmaps)
{
    std::vector<std::uint32_t> mem(16);
    EXPECT_FALSE(Context::CreateBitmap(mem.data(), 4, 4, 8));  // row shorter than the width
    EXPECT_FALSE(Context::CreateBitmap(mem.data(), 4, 4, 18)); // not a whole number of pixels
    EXPECT_FALSE(Context::CreateBitmap(nullptr, 0, 10, 0));
    EXPECT_FALSE(Context::CreateBitmap(nullptr, 40000, 10, 0));
    EXPECT_FALSE(Context::CreateBitmap(nullptr, 30000, 2000000, 0)); // far more than the machine holds
}

TEST(CgContext, SaveRestoreCoversTransformClipAndColour)
{
    auto ctx = Context::CreateBitmap(nullptr, 20, 20, 0);
    ASSERT_TRUE(ctx);
    ctx->SetShouldAntialias(false);
    ctx->SetRGBFillColor(0, 1, 0, 1);
    ctx->SaveGState();
    ctx->TranslateCTM(10, 10);
    ctx->ClipToRect(Rect{0, 0, 2, 2});
    ctx->SetRGBFillColor(1, 0, 0, 1);
    ctx->FillRect(Rect{0, 0, 5, 5}); // cut to 2 x 2 at (10, 10) user
    ctx->RestoreGState();
    ctx->RestoreGState(); // unbalanced: ignored
    ctx->FillRect(Rect{0, 0, 1, 1});
    // user (10..12, 10..12) -> device rows 8..9, columns 10..11
    EXPECT_TRUE(IsColour(ctx->ReadPixel(10, 9), 255, 0, 0));
    EXPECT_TRUE(IsColour(ctx->ReadPixel(11, 8), 255, 0, 0));
    EXPECT_EQ(0, ctx->ReadPixel(12, 9).alpha);
    EXPECT_EQ(0, ctx->ReadPixel(10, 7).alpha);
    EXPECT_TRUE(IsColour(ctx->ReadPixel(0, 19), 0, 255, 0));
}

TEST(CgContext, DegenerateDashKeepsContextUsable)
{
    auto ctx = Context::CreateBitmap(nullptr, 10, 10, 0);
    ASSERT_TRUE(ctx);
    ctx->SetShouldAntialias(false);
    const double zeros[2] = {0, 0};
    ctx->SetLineDash(0, zeros, 2);
    ctx->SetRGBStrokeColor(0, 0, 1, 1);
    ctx->BeginPath();
    ctx->MoveToPoint(0, 5.5);
    ctx->AddLineToPoint(10, 5.5);
    ctx->StrokePath(); // solid line at device row 4
    for (int x = 0; x < 10; ++x)
        EXPECT_TRUE(IsColour(ctx->ReadPixel(x, 4), 0, 0, 255)) << x;
    ctx->SetRGBFillColor(1, 0, 0, 1);
    ctx->FillRect(Rect{0, 0, 1, 1});
    EXPECT_TRUE(IsColour(ctx->ReadPixel(0, 9), 255, 0, 0));
}

TEST(CgContext, TallBitmapAllocatesTilesWhenDrawnAndDrawsAcrossEdges)
{
    const int h = 40000; // taller than one cairo surface
    auto ctx = Context::CreateBitmap(nullptr, 50, h, 0);
    ASSERT_TRUE(ctx);
    EXPECT_EQ(0, ctx->AllocatedTiles());
    ctx->SetShouldAntialias(false);
    ctx->SetRGBFillColor(1, 0, 0, 1);
    // Device rows 4090..4101 straddle the first tile edge.
    ctx->FillRect(Rect{5, double(h - 4102), 10, 12});
    EXPECT_EQ(2, ctx->AllocatedTiles());
    for (int row = 4090; row < 4102; ++row)
        EXPECT_TRUE(IsColour(ctx->ReadPixel(5, row), 255, 0, 0)) << row;
    EXPECT_EQ(0, ctx->ReadPixel(5, 4089).alpha);
    EXPECT_EQ(0, ctx->ReadPixel(5, 4102).alpha);
    // A stroked path near the very bottom, beyond 32767 rows.
    ctx->SetRGBStrokeColor(0, 0, 1, 1);
    ctx->BeginPath();
    ctx->MoveToPoint(0, 0.5);
    ctx->AddLineToPoint(50, 0.5);
    ctx->StrokePath();
    EXPECT_TRUE(IsColour(ctx->ReadPixel(20, h - 1), 0, 0, 255));
    EXPECT_EQ(3, ctx->AllocatedTiles());
    EXPECT_EQ(0, ctx->ReadPixel(20, 20000).alpha);

    auto img = ctx->CreateImage(0, 4088, 50, 16);
    ASSERT_TRUE(img);
    EXPECT_EQ(16, img->Height());
}

TEST(CgContext, CallerMemoryTilesShareOneBuffer)
{
    const int w = 4, h = Context::kTileRows + 10, stride = w * 4;
    std::vector<std::uint32_t> mem(size_t(w) * size_t(h), 0);
    auto ctx = Context::CreateBitmap(mem.data(), w, h, stride);
    ASSERT_TRUE(ctx);
    ctx->SetShouldAntialias(false);
    ctx->SetRGBFillColor(0, 0, 1, 1);
    ctx->FillRect(Rect{0, 8, 4, 4}); // device rows h-12 .. h-9, across the edge at kTileRows
    ctx->Flush();
    for (int row = h - 12; row < h - 8; ++row)
        EXPECT_TRUE(IsColour(qm::cg::ReadPixel(mem.data(), stride, 3, row), 0, 0, 255)) << row;
    EXPECT_EQ(0, qm::cg::ReadPixel(mem.data(), stride, 3, h - 13).alpha);
}

TEST(CgContext, ImagesDrawUprightAndScaled)
{
    // 1 x 2 picture: top pixel red, bottom pixel blue.
    std::uint32_t px[2] = {0xFFFF0000u, 0xFF0000FFu};
    auto img = qm::cg::Image::FromPixels(px, 1, 2, 4);
    ASSERT_TRUE(img);
    auto ctx = Context::CreateBitmap(nullptr, 4, 8, 0);
    ASSERT_TRUE(ctx);
    ctx->SetInterpolationQuality(qm::cg::InterpolationQuality::None);
    ctx->DrawImage(Rect{0, 0, 4, 8}, *img);
    EXPECT_TRUE(IsColour(ctx->ReadPixel(2, 0), 255, 0, 0));
    EXPECT_TRUE(IsColour(ctx->ReadPixel(2, 3), 255, 0, 0));
    EXPECT_TRUE(IsColour(ctx->ReadPixel(2, 4), 0, 0, 255));
    EXPECT_TRUE(IsColour(ctx->ReadPixel(2, 7), 0, 0, 255));
}

TEST(CgContext, TraceRecordsCallsInUserSpace)
{
    auto ctx = Context::CreateBitmap(nullptr, 10, 10, 0);
    ASSERT_TRUE(ctx);
    ctx->EnableTrace(true);
    ctx->SetRGBFillColor(1, 0, 0, 1);
    ctx->FillRect(Rect{1, 2, 3, 4.5});
    ASSERT_EQ(2u, ctx->Trace().size());
    EXPECT_EQ("SetRGBFillColor(1, 0, 0, 1)", ctx->Trace()[0]);
    EXPECT_EQ("FillRect(1, 2, 3, 4.5)", ctx->Trace()[1]);
}
