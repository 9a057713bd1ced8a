#include "base/shims/CGShims.h"

#include <algorithm>

CGContextRef CreateCGContext(GrafPtr port)
{
    if (!qm::qd::IsLivePort(port))
        return nullptr;
    std::unique_ptr<qm::cg::Context> ctx = qm::cg::Context::CreateForSurface(port->Surface());
    if (!ctx)
        return nullptr;
    // The clip is in the port's local coordinates; the context's user space
    // has the bottom-left corner of the bounds at (0, 0) and y growing up.
    const Rect bounds = port->Bounds();
    const Rect& clip = port->Clip().Bounds();
    int left = std::max<int>(clip.left, bounds.left), right = std::min<int>(clip.right, bounds.right);
    int top = std::max<int>(clip.top, bounds.top), bottom = std::min<int>(clip.bottom, bounds.bottom);
    if (port->Clip().IsEmpty() || right <= left || bottom <= top)
        left = right = top = bottom = 0;
    ctx->ClipToRect(qm::cg::Rect{double(left - bounds.left), double(port->Height() - (bottom - bounds.top)),
        double(right - left), double(bottom - top)});
    ctx->SaveGState();
    ctx->SetShouldAntialias(false);
    ctx->SetInterpolationQuality(qm::cg::InterpolationQuality::None);
    return ctx.release();
}

void EndCGContext(GrafPtr, CGContextRef* context)
{
    if (!context || !*context)
        return;
    (*context)->Flush();
    (*context)->RestoreGState();
    delete *context;
    *context = nullptr;
}

float fRed(unsigned long colour) { return float(colour & 0xFF) / 255.0f; }
float fGreen(unsigned long colour) { return float((colour >> 8) & 0xFF) / 255.0f; }
float fBlue(unsigned long colour) { return float((colour >> 16) & 0xFF) / 255.0f; }
