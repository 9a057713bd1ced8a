// PNG export: a picture written a band of rows at a time decodes to the
// context's pixels (straight RGBA, translucent and transparent ones
// included; an opaque one written as RGB); pictures taller than libpng's
// default limits are written; a stream that fails or is not finished leaves
// no file.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/cg/Context.h"
#include "platform/cg/PngExport.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/PngPixels.h"
#include "tests/common/TempDir.h"

using qm::cg::Context;
using qm::cg::PngStream;
using qm::cg::Rect;

namespace {

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Two tiles and a part of a third: opaque, translucent, cleared and
// antialiased pixels, some across the tile edges.
std::unique_ptr<Context> Scene()
{
    const int h = 2 * Context::kTileRows + 300;
    auto ctx = Context::CreateBitmap(nullptr, 37, h, 0);
    if (!ctx)
        return ctx;
    ctx->SetRGBFillColor(0.2, 0.4, 0.6, 1);
    ctx->FillRect(Rect{0, 0, 37, double(h)});
    ctx->SetRGBFillColor(1, 0, 0, 0.5);
    ctx->FillRect(Rect{3, double(h - Context::kTileRows - 40), 20, 80});
    ctx->ClearRect(Rect{25, double(h - Context::kTileRows - 10), 6, 30});
    ctx->SetRGBStrokeColor(0, 0.8, 0.1, 0.7);
    ctx->SetLineWidth(3);
    ctx->BeginPath();
    ctx->AddEllipseInRect(Rect{4, double(h - 2 * Context::kTileRows - 20), 28, 41.5});
    ctx->StrokePath();
    ctx->ClearRect(Rect{0, 0, 37, 1}); // the last row transparent
    return ctx;
}

} // namespace

TEST(PngExport, BandsDecodeToTheContextsPixels)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("png-export-")));
    auto ctx = Scene();
    ASSERT_TRUE(ctx);
    std::vector<unsigned char> whole;
    ASSERT_TRUE(ctx->CopyRGBA(whole));
    const int w = ctx->Width(), h = ctx->Height();

    struct Case
    {
        const char* name;
        std::vector<int> bands; // row counts, in order; empty: WritePNG in one go
    };
    const Case cases[] = {
        {"one-call", {}},
        {"uneven-bands", {1, 999, Context::kTileRows, h - 1000 - Context::kTileRows}},
        {"tile-bands", {Context::kTileRows, Context::kTileRows, 300}},
    };
    for (const Case& c : cases) {
        const std::string path = dir.Path() + "/" + c.name + ".png";
        if (c.bands.empty()) {
            ASSERT_TRUE(qm::cg::WritePNG(*ctx, path)) << c.name;
        } else {
            PngStream out;
            ASSERT_TRUE(out.Begin(path, w, h)) << c.name;
            int row = 0;
            for (int count : c.bands) {
                ASSERT_TRUE(out.AppendRows(*ctx, 0, row, count)) << c.name;
                row += count;
            }
            EXPECT_EQ(h, out.RowsWritten());
            ASSERT_TRUE(out.Finish()) << c.name;
        }
        qmtest::PngPixels png;
        ASSERT_TRUE(qmtest::ReadPng(path, png)) << c.name;
        EXPECT_EQ(w, png.width) << c.name;
        EXPECT_EQ(h, png.height) << c.name;
        EXPECT_TRUE(png.rgba == whole) << c.name;
    }

    // Opaque throughout (translucent colour over an opaque ground): RGB.
    ctx->SetRGBFillColor(1, 1, 1, 1);
    ctx->FillRect(Rect{0, 0, 37, double(h)});
    ctx->SetRGBFillColor(0.9, 0.1, 0.3, 0.4);
    ctx->FillRect(Rect{3, double(h - Context::kTileRows - 40), 20.5, 80});
    ASSERT_TRUE(ctx->CopyRGBA(whole));
    {
        const std::string path = dir.Path() + "/opaque.png";
        PngStream out;
        ASSERT_TRUE(out.Begin(path, w, h, true));
        ASSERT_TRUE(out.AppendRows(*ctx, 0, 0, Context::kTileRows));
        ASSERT_TRUE(out.AppendRows(*ctx, 0, Context::kTileRows, h - Context::kTileRows));
        ASSERT_TRUE(out.Finish());
        EXPECT_EQ(2, qmtest::ReadFile(path)[25]) << "colour type RGB";
        qmtest::PngPixels png;
        ASSERT_TRUE(qmtest::ReadPng(path, png));
        EXPECT_TRUE(png.rgba == whole);
    }

    // A rectangle across a tile edge, cut to the bitmap on the right.
    int rw = 50, rh = 30;
    std::vector<unsigned char> part;
    ASSERT_TRUE(ctx->CopyRGBA(part, 10, Context::kTileRows - 12, rw, rh));
    const std::string path = dir.Path() + "/part.png";
    ASSERT_TRUE(qm::cg::WritePNG(*ctx, 10, Context::kTileRows - 12, 50, 30, path));
    qmtest::PngPixels png;
    ASSERT_TRUE(qmtest::ReadPng(path, png));
    EXPECT_EQ(27, png.width);
    EXPECT_EQ(30, png.height);
    EXPECT_TRUE(png.rgba == part);
    EXPECT_FALSE(qm::cg::WritePNG(*ctx, 40, 0, 10, 10, dir.Path() + "/outside.png"));
    EXPECT_FALSE(Exists(dir.Path() + "/outside.png"));
}

TEST(PngExport, PicturesTallerThanAMillionRowsAreWritten)
{
    // libpng refuses such heights unless its limits are raised; a document's
    // picture is that tall at about 4 MB of text.
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("png-export-")));
    const int h = 1100000;
    auto ctx = Context::CreateTiledBitmap(2, h);
    ASSERT_TRUE(ctx && ctx->MakeTileResident(ctx->TileCount() - 1));
    ctx->SetRGBFillColor(0, 0, 1, 1);
    ctx->FillRect(Rect{0, 0, 2, 1});
    const std::string path = dir.Path() + "/tall.png";
    ASSERT_TRUE(qm::cg::WritePNG(*ctx, path));
    qmtest::PngPixels png;
    ASSERT_TRUE(qmtest::ReadPng(path, png));
    ASSERT_EQ(h, png.height);
    EXPECT_EQ(0, png.rgba[3]); // a tile without pixels: transparent
    EXPECT_EQ(255, png.rgba[png.rgba.size() - 2]);
}

TEST(PngExport, AStreamThatFailsOrIsNotFinishedLeavesNoFile)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("png-export-")));
    auto ctx = Context::CreateBitmap(nullptr, 8, 8, 0);
    ASSERT_TRUE(ctx);
    const std::string path = dir.Path() + "/p.png";
    {
        PngStream out;
        EXPECT_FALSE(out.Begin(dir.Path() + "/no/such/folder.png", 8, 8));
        EXPECT_FALSE(out.AppendRows(*ctx, 0, 0, 8));
        EXPECT_FALSE(out.Finish());
    }
    {
        PngStream out;
        EXPECT_FALSE(out.Begin(path, 0, 8));
    }
    {
        PngStream out; // rows past the picture's height
        ASSERT_TRUE(out.Begin(path, 8, 8));
        EXPECT_FALSE(out.Begin(path, 8, 8));
        EXPECT_TRUE(out.AppendRows(*ctx, 0, 0, 5));
        EXPECT_FALSE(out.AppendRows(*ctx, 0, 5, 4));
        EXPECT_FALSE(out.AppendRows(*ctx, 0, 5, 3));
        EXPECT_FALSE(out.Finish());
        EXPECT_FALSE(Exists(path));
    }
    {
        PngStream out; // rows missing
        ASSERT_TRUE(out.Begin(path, 8, 8));
        EXPECT_TRUE(out.AppendRows(*ctx, 0, 0, 7));
        EXPECT_FALSE(out.Finish());
        EXPECT_FALSE(Exists(path));
    }
    {
        PngStream out; // never finished
        ASSERT_TRUE(out.Begin(path, 8, 8));
        EXPECT_TRUE(out.AppendRows(*ctx, 0, 0, 8));
        EXPECT_TRUE(Exists(path));
    }
    EXPECT_FALSE(Exists(path));
    {
        PngStream out; // begun opaque, and the pixels are transparent
        ASSERT_TRUE(out.Begin(path, 8, 8, true));
        EXPECT_FALSE(out.AppendRows(*ctx, 0, 0, 8));
        EXPECT_TRUE(out.Translucent());
        EXPECT_FALSE(Exists(path));
    }
    PngStream out;
    ASSERT_TRUE(out.Begin(path, 8, 8));
    EXPECT_TRUE(out.AppendRows(*ctx, 0, 0, 8));
    EXPECT_TRUE(out.Finish());
    EXPECT_FALSE(out.Finish());
    EXPECT_TRUE(Exists(path));
}
