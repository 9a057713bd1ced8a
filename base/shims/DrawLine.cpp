#include "base/shims/DrawLine.h"

#include <cstdlib>

#include "base/shims/CGShims.h"

void MacDrawLine(void* context, int x1, int y1, int x2, int y2, int width, int height, int style,
    unsigned long colour, bool alongX)
{
    CGContextRef ctx = static_cast<CGContextRef>(context);
    if (!ctx)
        return;
    ctx->SaveGState();
    if (style == 3 || style == 4) {
        const double w = width;
        ctx->SetLineWidth(w);
        ctx->SetRGBStrokeColor(fRed(colour), fGreen(colour), fBlue(colour), 1.0);
        if (style == 3) {
            const double dots[2] = {w, w};
            ctx->SetLineDash(0, dots, 2);
        } else {
            const double dashDot[4] = {20, 5, 6, 5};
            ctx->SetLineDash(0, dashDot, 4);
        }
        ctx->BeginPath();
        if (alongX) {
            ctx->MoveToPoint(x1, height - y1 + w / 2);
            ctx->AddLineToPoint(x2, height - y2 + w / 2);
        } else {
            ctx->MoveToPoint(x1 + w / 2, height - y1);
            ctx->AddLineToPoint(x2 + w / 2, height - y2);
        }
        ctx->StrokePath();
    } else {
        ctx->SetRGBFillColor(fRed(colour), fGreen(colour), fBlue(colour), 1.0);
        double w = double(x2 - x1) + (alongX ? 0 : width);
        double h = double(y2 - y1) + (alongX ? width : 0);
        ctx->FillRect(qm::cg::Rect{double(x1), double(height - y2), w, h});
    }
    ctx->RestoreGState();
}

void MacDrawLine(void* context, CRect& rect, int, int height, int, unsigned long colour, bool)
{
    CGContextRef ctx = static_cast<CGContextRef>(context);
    if (!ctx)
        return;
    ctx->SaveGState();
    ctx->SetRGBFillColor(fRed(colour), fGreen(colour), fBlue(colour), 1.0);
    ctx->FillRect(qm::cg::Rect{double(rect.left), double(height - rect.bottom),
        double(std::abs(rect.right - rect.left)), double(std::abs(rect.bottom - rect.top))});
    ctx->RestoreGState();
}
