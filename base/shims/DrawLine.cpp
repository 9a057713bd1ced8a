#include "base/shims/DrawLine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/shims/CGShims.h"

namespace {

// Moves the ends of the axis-aligned line (x1, y1) - (x2, y2) (top-down
// against height) to the part the clip may show, margin pixels around it,
// the start moved by whole periods. False when no part shows.
bool TrimToClip(
    CGContextRef ctx, int& x1, int& y1, int& x2, int& y2, int height, double margin, double period)
{
    qm::cg::Rect clip;
    if ((x1 != x2 && y1 != y2) || period <= 0 || !ctx->ClipBoundsInUserSpace(clip))
        return true;
    const bool vertical = x1 == x2;
    // Along the line: s runs from 0 at the start to length at the end.
    const double a = vertical ? height - y1 : x1;
    const double b = vertical ? height - y2 : x2;
    const double lo = (vertical ? clip.y : clip.x) - margin;
    const double hi = (vertical ? clip.y + clip.height : clip.x + clip.width) + margin;
    const double length = std::abs(b - a);
    const double dir = b >= a ? 1 : -1;
    double s0 = dir > 0 ? lo - a : a - hi;
    double s1 = dir > 0 ? hi - a : a - lo;
    s0 = std::max(0.0, std::floor(s0 / period) * period);
    s1 = std::min(length, s1);
    if (s1 <= s0)
        return false;
    if (s0 == 0 && s1 == length)
        return true;
    // The start stays on whole pixels; the end goes outwards.
    const int start = int(a + dir * s0);
    const int end = int(dir > 0 ? std::ceil(a + s1) : std::floor(a - s1));
    if (vertical) {
        y1 = height - start;
        y2 = height - end;
    } else {
        x1 = start;
        x2 = end;
    }
    return true;
}

} // namespace

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
        // A dashed line far longer than the clip (a border down a long
        // document, painted band by band) is stroked only where the clip
        // can show it: it starts a whole number of dash periods along, so
        // every dash falls where it falls on the whole line.
        const double period = style == 3 ? 2 * w : 36;
        if (!TrimToClip(ctx, x1, y1, x2, y2, height, w + 2, period)) {
            ctx->RestoreGState();
            return;
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
