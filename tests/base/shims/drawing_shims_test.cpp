#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/geometry/Colour.h"
#include "base/shims/CGShims.h"
#include "base/shims/DrawLine.h"
#include "base/shims/PortShims.h"
#include "base/shims/TextShims.h"
#include "platform/cg/PngExport.h"

using qm::cg::Context;
using qm::cg::Pixel;

namespace {

// A bitmap on our own memory, antialiasing off as the drawing code runs it.
struct Bitmap
{
    int w, h;
    std::vector<std::uint32_t> mem;
    std::unique_ptr<Context> ctx;
    Bitmap(int width, int height) : w(width), h(height), mem(size_t(width) * size_t(height), 0)
    {
        ctx = Context::CreateBitmap(mem.data(), w, h, w * 4);
        ctx->SetShouldAntialias(false);
    }
    bool Red(int x, int row)
    {
        ctx->Flush();
        Pixel p = qm::cg::ReadPixel(mem.data(), size_t(w) * 4, x, row);
        return p.alpha == 255 && p.red == 255 && p.green == 0 && p.blue == 0;
    }
    bool Blank(int x, int row)
    {
        ctx->Flush();
        return qm::cg::ReadPixel(mem.data(), size_t(w) * 4, x, row).alpha == 0;
    }
};

const unsigned long kRed = RGB(255, 0, 0);

} // namespace

TEST(MacDrawLine, SolidHorizontalLineFillsTheRowAboveY)
{
    Bitmap b(40, 40);
    MacDrawLine(b.ctx.get(), 10, 20, 30, 20, 1, 40, 1, kRed, true);
    for (int row = 0; row < 40; ++row)
        for (int x = 0; x < 40; ++x) {
            bool expected = row == 19 && x >= 10 && x <= 29;
            EXPECT_EQ(expected, b.Red(x, row)) << x << "," << row;
            if (!expected) {
                EXPECT_TRUE(b.Blank(x, row)) << x << "," << row;
            }
        }
}

TEST(MacDrawLine, SolidVerticalLineFillsColumnsRightOfX)
{
    Bitmap b(20, 40);
    MacDrawLine(b.ctx.get(), 5, 10, 5, 30, 2, 40, 1, kRed, false);
    for (int row = 0; row < 40; ++row)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ((x == 5 || x == 6) && row >= 10 && row < 30, b.Red(x, row)) << x << "," << row;
}

TEST(MacDrawLine, DottedStyleUsesWidthLongDashes)
{
    Bitmap b(40, 40);
    MacDrawLine(b.ctx.get(), 0, 20, 40, 20, 2, 40, 3, kRed, true);
    for (int x = 0; x < 40; ++x) {
        bool on = (x / 2) % 2 == 0;
        EXPECT_EQ(on, b.Red(x, 18)) << x;
        EXPECT_EQ(on, b.Red(x, 19)) << x;
        EXPECT_TRUE(b.Blank(x, 17));
        EXPECT_TRUE(b.Blank(x, 20));
    }
}

TEST(MacDrawLine, DashDotStyleRepeatsTwentyFiveSixFive)
{
    Bitmap b(80, 20);
    MacDrawLine(b.ctx.get(), 0, 10, 80, 10, 1, 20, 4, kRed, true);
    for (int x = 0; x < 80; ++x) {
        int phase = x % 36;
        bool on = phase < 20 || (phase >= 25 && phase < 31);
        EXPECT_EQ(on, b.Red(x, 9)) << x;
    }
    // A vertical one runs down the column right of x.
    Bitmap v(10, 40);
    MacDrawLine(v.ctx.get(), 3, 0, 3, 40, 1, 40, 4, kRed, false);
    for (int row = 0; row < 40; ++row) {
        int phase = row % 36; // the pattern starts at the first point, the top
        EXPECT_EQ(phase < 20 || (phase >= 25 && phase < 31), v.Red(3, row)) << row;
        EXPECT_TRUE(v.Blank(2, row));
    }
}

TEST(MacDrawLine, LeavesTheContextStateAlone)
{
    Bitmap b(40, 10);
    MacDrawLine(b.ctx.get(), 0, 5, 40, 5, 1, 10, 4, RGB(0, 0, 255), true);
    // A later plain stroke is solid and in its own colour and width.
    b.ctx->SetRGBStrokeColor(1, 0, 0, 1);
    b.ctx->BeginPath();
    b.ctx->MoveToPoint(0, 1.5);
    b.ctx->AddLineToPoint(40, 1.5);
    b.ctx->StrokePath();
    for (int x = 0; x < 40; ++x)
        EXPECT_TRUE(b.Red(x, 8)) << x;
    MacDrawLine(nullptr, 0, 0, 1, 1, 1, 1, 1, kRed, true); // no context: nothing
}

TEST(MacDrawLine, RectangleFormFillsTheRectTopDown)
{
    Bitmap b(20, 20);
    CRect r(3, 4, 7, 9);
    MacDrawLine(b.ctx.get(), r, 99, 20, 99, kRed, false);
    for (int row = 0; row < 20; ++row)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(x >= 3 && x < 7 && row >= 4 && row < 9, b.Red(x, row)) << x << "," << row;
}

TEST(ColourComponents, BytesOverTwoFiftyFive)
{
    EXPECT_FLOAT_EQ(1.0f, fRed(RGB(255, 0, 0)));
    EXPECT_FLOAT_EQ(0.0f, fBlue(RGB(255, 0, 0)));
    EXPECT_FLOAT_EQ(0.0f, fGreen(RGB(255, 0, 0)));
    EXPECT_FLOAT_EQ(128.0f / 255.0f, fGreen(RGB(1, 128, 2)));
    EXPECT_FLOAT_EQ(2.0f / 255.0f, fBlue(RGB(1, 128, 2)));
    EXPECT_FLOAT_EQ(1.0f / 255.0f, fRed(0xFFFFFF01ul)); // bits above blue play no part
}

TEST(PortShims, BackupAndRestoreOnceOnly)
{
    GrafPtr a = qm::qd::Port::Create(100, 100);
    GrafPtr b = qm::qd::Port::Create(50, 50);
    GrafPtr c = qm::qd::Port::Create(10, 10);
    dSetPort(a);
    dSetOrigin(5, 6);
    RgnHandle clip = dNewRgn();
    dSetRectRgn(clip, 1, 2, 30, 40);
    dSetClip(clip);

    GrafPtr savedPort = nullptr;
    Rect savedBounds{};
    RgnHandle savedClip = nullptr;
    BackupOldPort(savedPort, savedBounds, savedClip, b, 10, 20);
    BackupOldPort(savedPort, savedBounds, savedClip, b, 10, 20); // the first copy is disposed of
    GrafPtr current = nullptr;
    dGetPort(&current);
    EXPECT_EQ(b, current);
    EXPECT_EQ(-10, b->Origin().h);
    EXPECT_EQ(-20, b->Origin().v);
    EXPECT_EQ(-32000, b->Clip().Bounds().left);
    EXPECT_EQ(32000, b->Clip().Bounds().bottom);
    // The second backup saved b (current by then); restore it, then a's state.
    RestoreOldPort(savedPort, savedBounds, savedClip);
    EXPECT_EQ(nullptr, savedClip);

    dSetPort(a);
    BackupOldPort(savedPort, savedBounds, savedClip, b, 0, 0);
    RestoreOldPort(savedPort, savedBounds, savedClip);
    dGetPort(&current);
    EXPECT_EQ(a, current);
    EXPECT_EQ(5, a->Origin().h);
    EXPECT_EQ(6, a->Origin().v);
    dGetClip(clip);
    EXPECT_EQ(1, clip->Bounds().left);
    EXPECT_EQ(40, clip->Bounds().bottom);

    // A second restore changes nothing.
    dSetPort(c);
    dSetOrigin(7, 7);
    RestoreOldPort(savedPort, savedBounds, savedClip);
    dGetPort(&current);
    EXPECT_EQ(c, current);
    EXPECT_EQ(7, c->Origin().h);

    // A saved port destroyed before the restore is left alone.
    BackupOldPort(savedPort, savedBounds, savedClip, c, 0, 0);
    delete a;
    dSetPort(c);
    RestoreOldPort(savedPort, savedBounds, savedClip);
    dGetPort(&current);
    EXPECT_EQ(c, current);
    EXPECT_EQ(nullptr, savedClip);

    dDisposeRgn(clip);
    delete b;
    delete c;
}

TEST(PortShims, LocalGlobalAndCursor)
{
    GrafPtr p = qm::qd::Port::Create(20, 20);
    p->SetScreenPosition(100, 200);
    dSetPort(p);
    dSetOrigin(-3, -4);
    Point pt{10, 10};
    dLocalToGlobal(&pt);
    EXPECT_EQ(113, pt.h);
    EXPECT_EQ(214, pt.v);
    dGlobalToLocal(&pt);
    EXPECT_EQ(10, pt.h);
    delete p;
    Point untouched{1, 2};
    dGlobalToLocal(&untouched); // no current port
    EXPECT_EQ(2, untouched.h);

    Cursor hand{};
    dSetCursor(&hand);
    EXPECT_FALSE(qm::qd::CursorIsArrow());
    dInitCursor();
    EXPECT_TRUE(qm::qd::CursorIsArrow());
}

TEST(CGShims, PortContextIsClippedAndFlipped)
{
    GrafPtr port = qm::qd::Port::Create(20, 10);
    port->SetOrigin(100, 200);
    qm::qd::Region clip;
    clip.SetRect(102, 203, 106, 300); // local: columns 2..5, rows 3..9
    port->SetClip(clip);
    CGContextRef ctx = CreateCGContext(port);
    ASSERT_TRUE(ctx);
    ctx->SetRGBFillColor(0, 0, 1, 1);
    ctx->FillRect(qm::cg::Rect{0, 0, 20, 10});
    ctx->SetRGBFillColor(1, 0, 0, 1);
    ctx->FillRect(qm::cg::Rect{3, 0, 1, 1}); // user (3, 0): the bottom row
    EndCGContext(port, &ctx);
    EXPECT_EQ(nullptr, ctx);
    std::unique_ptr<Context> reader = Context::CreateForSurface(port->Surface());
    EXPECT_EQ(0, reader->ReadPixel(1, 5).alpha);
    EXPECT_EQ(0, reader->ReadPixel(3, 2).alpha);
    EXPECT_EQ(255, reader->ReadPixel(5, 3).blue);
    Pixel p = reader->ReadPixel(3, 9);
    EXPECT_EQ(255, p.red);
    EXPECT_EQ(255, p.alpha);
    EXPECT_EQ(255, reader->ReadPixel(2, 9).blue);
    EXPECT_EQ(nullptr, CreateCGContext(nullptr));
    delete port;
}

TEST(DrawingShims, RendersAPictureToPng)
{
    const int w = 240, h = 80;
    std::vector<std::uint32_t> mem(size_t(w) * h, 0);
    auto ctx = Context::CreateBitmap(mem.data(), w, h, w * 4);
    ASSERT_TRUE(ctx);
    ctx->SetRGBFillColor(1, 1, 1, 1);
    ctx->FillRect(qm::cg::Rect{0, 0, double(w), double(h)});
    ctx->SetShouldAntialias(false);
    // A yellow box at top-down (10, 10)-(60, 40), a dash-dot line under it.
    CRect box(10, 10, 60, 40);
    MacDrawLine(ctx.get(), box, 0, h, 0, RGB(255, 200, 0), false);
    MacDrawLine(ctx.get(), 10, 50, 230, 50, 2, h, 4, RGB(0, 0, 200), true);
    // A line of text with its baseline at top-down y = 35.
    qm::text::Style style;
    qm::text::Layout layout;
    MacSetFontInfo(&style, 18, 0);
    CSafeBuf text("Quillmark draws");
    MacSetTextAndContext(&layout, &style, text, ctx.get());
    layout.Draw(0, text.Length(), 70, h - 35);

    std::string path = std::string(QM_TEST_OUTPUT_DIR) + "/drawing_shims.png";
    ASSERT_TRUE(qm::cg::WritePNG(*ctx, path));

    Pixel inBox = ctx->ReadPixel(30, 25);
    EXPECT_EQ(255, inBox.red);
    EXPECT_EQ(200, inBox.green);
    EXPECT_EQ(0, inBox.blue);
    EXPECT_EQ(200, ctx->ReadPixel(15, 48).blue); // inside the first dash (rows 48, 49)
    EXPECT_EQ(255, ctx->ReadPixel(32, 48).red);  // in the gap after 20 + 2 pixels: white
    int dark = 0;
    for (int row = 15; row < 40; ++row)
        for (int x = 70; x < 230; ++x) {
            Pixel p = ctx->ReadPixel(x, row);
            if (p.red < 60 && p.green < 60 && p.blue < 60)
                ++dark;
        }
    EXPECT_GT(dark, 100); // black glyphs right of the box
}

// A dashed line much longer than the clip is drawn in pieces (a border down
// a long document, painted band by band): each band must hold the pixels
// the whole line gives there, whichever way the line runs and whatever its
// style and width, antialiased as painting draws it.
TEST(MacDrawLine, DashedLineUnderAClipMatchesTheWholeLine)
{
    struct Case
    {
        int x1, y1, x2, y2, width, style;
        bool alongX;
    };
    const Case cases[] = {
        {5, 0, 5, 600, 1, 4, false},   // down, dash and dot
        {5, 597, 5, 3, 2, 3, false},   // up, dotted
        {0, 100, 60, 100, 3, 3, true}, // across: the clip leaves it whole
        {7, 11, 7, 589, 3, 4, false},  // starting off the period
    };
    const int w = 60, h = 600;
    for (const Case& c : cases) {
        Bitmap whole(w, h);
        whole.ctx->SetShouldAntialias(true);
        MacDrawLine(whole.ctx.get(), c.x1, c.y1, c.x2, c.y2, c.width, h, c.style, kRed, c.alongX);
        whole.ctx->Flush();
        for (const int top : {0, 37, 250, 512}) {
            const int bottom = std::min(h, top + 64);
            Bitmap band(w, h);
            band.ctx->SetShouldAntialias(true);
            band.ctx->SaveGState();
            band.ctx->ClipToRect(qm::cg::Rect{0, double(h - bottom), double(w), double(bottom - top)});
            MacDrawLine(band.ctx.get(), c.x1, c.y1, c.x2, c.y2, c.width, h, c.style, kRed, c.alongX);
            band.ctx->RestoreGState();
            band.ctx->Flush();
            for (int row = top; row < bottom; ++row) {
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(whole.mem[size_t(row * w + x)], band.mem[size_t(row * w + x)])
                        << c.y1 << "-" << c.y2 << " band " << top << ": " << x << "," << row;
            }
        }
    }
}
