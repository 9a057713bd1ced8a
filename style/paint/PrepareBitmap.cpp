// The body's offscreen bitmap: (laid-out width + 200) x (laid-out height +
// 200) pixels, kept while the document fits in it, made anew when it grows
// past the slack. Its pixels live in tiles that become resident as the
// window or an export needs them (OffscreenView.h), so a tall or wide document costs
// no more memory than its resident tiles. A size past the limits of
// BitmapSize.h, or a context that cannot be had, leaves the document without
// a bitmap: nothing is painted, the answer is false and the paint state
// records the failure.

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"
#include "style/paint/BitmapSize.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"

#include <cstdint>

using namespace qm::paint;

bool CElement::PrepareBitmap(void*)
{
    if (m_kind != kKindBody || !m_owner)
        return false;
    CXDocServices& doc = m_owner->m_doc;
    CPaintState* st = StateOf(this);
    if (!st)
        return false;
    const std::int64_t w = std::int64_t(Lay().m_sizeRect.right) - Lay().m_sizeRect.left;
    const std::int64_t h = std::int64_t(Lay().m_sizeRect.bottom) - Lay().m_sizeRect.top;
    const std::int64_t width = w < 0 ? -w : w, height = h < 0 ? -h : h;
    if (m_dc && width == doc.m_layoutWidth && height == doc.m_layoutHeight)
        return true;

    BitmapSize size;
    const bool fits = ComputeBitmapSize(width, height, size);
    if (fits) {
        doc.m_layoutWidth = static_cast<int>(width);
        doc.m_layoutHeight = static_cast<int>(height);
        if (m_dc && width <= doc.m_bitmapWidth && height <= doc.m_bitmapHeight)
            return true;
    }
    m_dc.reset();
    doc.ReleaseBitmap();
    st->m_tileStamps.clear();
    st->m_bitmapFailed = true;
    if (!fits)
        return false;
    std::unique_ptr<qm::cg::Context> ctx = qm::cg::Context::CreateTiledBitmap(size.width, size.height);
    if (!ctx)
        return false;
    m_dc = std::move(ctx);
    doc.m_bitmapWidth = size.width;
    doc.m_bitmapHeight = size.height;
    doc.m_bitmapBytesPerRow = size.bytesPerRow;
    doc.m_bitmapBytes = static_cast<long>(size.bytes);
    st->m_bitmapFailed = false;
    return true;
}
