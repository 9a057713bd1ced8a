#include "style/draw/DrawPrimitives.h"

#include "base/geometry/Rect.h"
#include "base/shims/CGShims.h"
#include "element/Element.h"
#include "element/services/XHTMLServices.h"

#include <cmath>
#include <cstdlib>

namespace {

using qm::cg::Context;

// Saves the state on entry and restores it on exit.
class StateScope
{
public:
    explicit StateScope(Context* ctx) : m_ctx(ctx) { m_ctx->SaveGState(); }
    ~StateScope() { m_ctx->RestoreGState(); }
    StateScope(const StateScope&) = delete;
    StateScope& operator=(const StateScope&) = delete;

private:
    Context* m_ctx;
};

void SolidStroke(Context* ctx, unsigned long colour)
{
    ctx->SetLineDash(0, nullptr, 0);
    ctx->SetLineWidth(1.0);
    ctx->SetRGBStrokeColor(fRed(colour), fGreen(colour), fBlue(colour), 1.0);
}

// The rectangle in the context's y-up space: x = left, y = H - bottom
// (flipped) or top, sizes as absolute differences.
qm::cg::Rect UserRect(const CRect& r, int flipHeight)
{
    const double width = std::fabs(double(r.right) - double(r.left));
    const double height = std::fabs(double(r.bottom) - double(r.top));
    const double y = flipHeight ? double(flipHeight) - double(r.bottom) : double(r.top);
    return qm::cg::Rect{double(r.left), y, width, height};
}

void AddCircle(Context* ctx, const CRect& r, int flipHeight)
{
    const double width = std::fabs(double(r.right) - double(r.left));
    const double height = std::fabs(double(r.bottom) - double(r.top));
    const double middle = double(r.top) + height / 2;
    const double cy = flipHeight ? double(flipHeight) - middle : middle;
    ctx->BeginPath();
    ctx->AddArc(double(r.left) + width / 2, cy, width / 2, 0, 2 * M_PI, false);
    ctx->ClosePath();
}

} // namespace

int GetFlipHeight(const CElement* e)
{
    if (!e || !e->m_owner)
        return 0;
    return e->m_owner->m_doc.m_bitmapHeight;
}

void xFillSolidRect(void* context, const CRect& rect, unsigned long colour, const CElement* e)
{
    Context* ctx = static_cast<Context*>(context);
    if (!ctx)
        return;
    StateScope scope(ctx);
    ctx->SetRGBFillColor(fRed(colour), fGreen(colour), fBlue(colour), 1.0);
    ctx->FillRect(UserRect(rect, GetFlipHeight(e)));
}

void xFrameRect(void* context, const CRect& rect, const unsigned long& colour, const CElement* e)
{
    Context* ctx = static_cast<Context*>(context);
    if (!ctx)
        return;
    StateScope scope(ctx);
    SolidStroke(ctx, colour);
    const int h = GetFlipHeight(e);
    const double left = rect.left, right = rect.right;
    // The two rows and the vertical extent, as the half-pixel rule places them.
    const double top = h ? double(h) - rect.top : double(rect.top);
    const double bottom = h ? double(h) - rect.bottom : double(rect.bottom);
    const double topRow = top + 0.5;
    const double bottomRow = bottom - 0.5;
    ctx->BeginPath();
    ctx->MoveToPoint(left, topRow);
    ctx->AddLineToPoint(right, topRow);
    ctx->MoveToPoint(left, bottomRow);
    ctx->AddLineToPoint(right, bottomRow);
    ctx->MoveToPoint(left + 0.5, top);
    ctx->AddLineToPoint(left + 0.5, bottom);
    ctx->MoveToPoint(right + 0.5, top);
    ctx->AddLineToPoint(right + 0.5, bottom);
    ctx->StrokePath();
}

void xDrawLine(void* context, const CRect& rect, unsigned long colour, int flipHeight)
{
    Context* ctx = static_cast<Context*>(context);
    if (!ctx)
        return;
    StateScope scope(ctx);
    SolidStroke(ctx, colour);
    ctx->BeginPath();
    ctx->MoveToPoint(rect.left, double(flipHeight) - rect.top + 0.5);
    ctx->AddLineToPoint(rect.right, double(flipHeight) - rect.bottom + 0.5);
    ctx->StrokePath();
}

void xDrawPolygon(
    void* context, const POINT* points, unsigned long fill, unsigned long stroke, const CElement* e)
{
    Context* ctx = static_cast<Context*>(context);
    const int h = GetFlipHeight(e);
    if (!ctx || !points || !h)
        return;
    StateScope scope(ctx);
    SolidStroke(ctx, stroke);
    ctx->SetRGBFillColor(fRed(fill), fGreen(fill), fBlue(fill), 1.0);
    auto outline = [&]() {
        ctx->BeginPath();
        ctx->MoveToPoint(points[0].x, double(h) - points[0].y + 0.5);
        for (int i = 1; i < 5; ++i)
            ctx->AddLineToPoint(points[i].x, double(h) - points[i].y + 0.5);
        ctx->ClosePath();
    };
    outline();
    ctx->FillPath();
    outline();
    ctx->StrokePath();
}

void xDrawCircle(void* context, const CRect& rect, unsigned long colour, const CElement* e)
{
    Context* ctx = static_cast<Context*>(context);
    if (!ctx)
        return;
    StateScope scope(ctx);
    SolidStroke(ctx, colour);
    AddCircle(ctx, rect, GetFlipHeight(e));
    ctx->StrokePath();
}

void xDrawEllipse(void* context, const CRect& rect, unsigned long colour, const CElement* e)
{
    Context* ctx = static_cast<Context*>(context);
    if (!ctx)
        return;
    StateScope scope(ctx);
    ctx->SetRGBFillColor(fRed(colour), fGreen(colour), fBlue(colour), 1.0);
    AddCircle(ctx, rect, GetFlipHeight(e));
    ctx->FillPath();
}

void xInvertRect(void* context, const CRect& rect, const CElement* e)
{
    Context* ctx = static_cast<Context*>(context);
    if (!ctx)
        return;
    StateScope scope(ctx);
    ctx->BeginPath();
    ctx->AddRect(UserRect(rect, GetFlipHeight(e)));
    ctx->SetRGBFillColor(0, 0, 1.0, 0.3);
    ctx->FillPath();
}
