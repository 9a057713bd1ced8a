// Painting an image: the picture scaled into its content box, the framed
// missing-picture text when the picture cannot be drawn, an outline, the
// selection tint, and the blue border of a linked image.

#include "elements/ImageElement.h"

#include "base/geometry/Colour.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "style/Image.h"
#include "style/draw/DrawPrimitives.h"
#include "style/layout/LayoutBox.h"
#include "style/values/BorderValues.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr unsigned long kFrameColour = RGB(0, 0, 0);
constexpr unsigned long kOutlineColour = RGB(128, 128, 128);
constexpr unsigned long kLinkColour = RGB(0, 0, 255);
constexpr int kLinkBorder = 3;
// The missing-picture text: its size in points (pixels) in narrow and in
// wider boxes, and the room kept between it and the frame.
constexpr int kNarrowBox = 80;
constexpr double kNarrowTextSize = 11;
constexpr double kWideTextSize = 13;
constexpr int kTextInset = 3;

int WidthOf(const CRect& r) { return r.right - r.left; }
int HeightOf(const CRect& r) { return r.bottom - r.top; }

void Deflate(CRect& r, int left, int top, int right, int bottom)
{
    r.left += left;
    r.top += top;
    r.right -= right;
    r.bottom -= bottom;
}

} // namespace

void CImageElement::DrawMissingPictureText(void* dc, const CRect& box)
{
    qm::cg::Context* context = static_cast<qm::cg::Context*>(dc);
    const int flip = GetFlipHeight(this);
    m_textStyle->SetFontId(0);
    m_textStyle->SetSize(WidthOf(box) < kNarrowBox ? kNarrowTextSize : kWideTextSize);
    m_textStyle->SetColor(0, 0, 0);
    CRect inner = box;
    inner.DeflateRect(kTextInset, kTextInset);
    const CSafeBuf& text = m_owner ? m_owner->m_missingPictureText : CSafeBuf();
    const int length = text.Length();
    if (length > 0 && WidthOf(inner) > 0 && HeightOf(inner) > 0 && context && flip > 0) {
        qm::text::Layout& layout = *m_textLayout;
        layout.SetContext(context);
        layout.SetText(
            reinterpret_cast<const std::uint16_t*>(static_cast<const unsigned short*>(text)), length);
        const int ascent = static_cast<int>(std::ceil(layout.Ascent()));
        const int lineHeight = std::max(1, ascent + static_cast<int>(std::ceil(layout.Descent())));
        // Lines that do not fit the box are cut off by its clip.
        context->SaveGState();
        context->ClipToRect(qm::cg::Rect{double(inner.left), double(flip - inner.bottom),
            double(WidthOf(inner)), double(HeightOf(inner))});
        int start = 0;
        for (int top = inner.top; start < length && top < inner.bottom; top += lineHeight) {
            int count = layout.BreakLine(start, WidthOf(inner));
            if (count <= 0)
                count = 1; // a word wider than the box: one unit a line rather than none
            count = std::min(count, length - start);
            layout.Draw(start, count, inner.left - layout.PrefixWidth(start), flip - (top + ascent));
            start += count;
        }
        context->RestoreGState();
    }
    xFrameRect(dc, box, kFrameColour, this);
}

bool CImageElement::SelfPaint(void* dc, CPoint origin)
{
    const int display = GetDisplayType();
    if (display == 2)
        return CElement::SelfPaint(dc, origin);
    if (!m_picture)
        return false;
    if (!dc && m_root)
        dc = m_root->m_dc.get();

    CRect box = Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    CRect content = box;
    CRect border;
    if (GetBorderRect(border, true)) {
        Deflate(content, border.left, border.top, border.right, border.bottom);
    } else if (m_linkState != 0) {
        content.DeflateRect(kLinkBorder, kLinkBorder);
    }
    const BoxEdges padding = Paddings(this);
    Deflate(content, padding.left, padding.top, padding.right, padding.bottom);

    m_paintedAsText = 0;
    if (display == 3) {
        xFrameRect(dc, box, kOutlineColour, this);
    } else if (!m_unsized) {
        qm::cg::Context* context = static_cast<qm::cg::Context*>(dc);
        const RECT& r = content;
        const bool drawn = m_picture->GetWidth() > 0 && m_picture->GetHeight() > 0 && WidthOf(content) > 0
            && HeightOf(content) > 0
            && m_picture->CopyImage(&r, nullptr, context, GetFlipHeight(this), CPoint(0, 0));
        if (!drawn) {
            DrawMissingPictureText(dc, content);
            m_paintedAsText = 1;
        }
    }
    if (m_selected && !m_wholeCell)
        xInvertRect(dc, box, this);
    m_paintedWidth = WidthOf(content);
    m_paintedHeight = HeightOf(content);
    return true;
}

bool CImageElement::DrawBorder(void* dc, CPoint origin, CRect* clip)
{
    if (m_linkState == 0 || GetDisplayType() == 2)
        return CElement::DrawBorder(dc, origin, clip);
    // The link's border for this paint only; the style is restored after.
    const CSharedStyle saved = m_style;
    CRect own;
    const bool hasBorder = GetBorderRect(own, true);
    ELEMENT_STYLE& s = EditStyle();
    for (BORDER_SIDE& side : s.border) {
        if (!hasBorder) {
            side.width = kLinkBorder;
            side.unit = kUnitPixels;
            side.style = kLineSolid;
            side.set = 1;
        }
        if (m_linkState == 2)
            side.style = kLineDashed;
        side.color = static_cast<std::int32_t>(kLinkColour);
        side.colorSet = 1;
    }
    s.borderSet = 1;
    const bool drawn = CElement::DrawBorder(dc, origin, clip);
    m_style = saved;
    return drawn;
}
