// The borders of an element: four sides, each one line of the platform's
// line drawing (MacDrawLine), and the temporary outline that marks elements
// without a border of their own (div, pre, form, fieldset, locked and
// outline-selected elements).
//
// Line styles: dotted (3) and dashed (4) are stroked with their dash
// patterns; every other style is drawn solid. A right, top or bottom side
// narrower than 1 pixel shows as a 1-pixel dashed line, so an invisible
// border still shows where it is while editing; a side of width -1 is not
// drawn.

#include "base/geometry/Colour.h"
#include "base/shims/DrawLine.h"
#include "element/EffectiveValues.h"
#include "element/Element.h"
#include "style/draw/DrawPrimitives.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/paint/PaintWalk.h"

#include <algorithm>
#include <iterator>

namespace qm::paint {

namespace {

constexpr unsigned long kSolidOutline = RGB(200, 200, 200);
constexpr unsigned long kDottedOutline = RGB(160, 160, 160);

bool Drawable(const ELEMENT_STYLE& s, int side, int width)
{
    const BORDER_SIDE& b = s.border[side];
    return s.borderSet && b.set && width >= 0 && b.style != kLineNone && b.style != kLineHidden;
}

bool WantsOutline(const CElement* e)
{
    const long k = e->m_kind;
    return e->m_outlineSelected || e->m_locked || (e->Style().lock.set && e->Style().lock.value == 1)
        || k == kKindPre || k == kKindDiv || k == kKindForm || k == kKindFieldset;
}

// The element's style restored when the outline is done (a shared style is
// shared again).
class OutlineScope
{
public:
    OutlineScope(CElement* e, bool on) : m_e(e), m_on(on)
    {
        if (!m_on)
            return;
        m_saved = e->m_style;
        ELEMENT_STYLE& s = e->EditStyle();
        const bool solid = e->m_outlineSolid != 0;
        const BORDER_SIDE line{solid ? kLineSolid : kLineDotted, 1, kUnitPixels,
            static_cast<std::int32_t>(solid ? kSolidOutline : kDottedOutline), 1, 1};
        s.borderSet = 1;
        std::fill(std::begin(s.border), std::end(s.border), line);
    }
    ~OutlineScope()
    {
        if (m_on)
            m_e->m_style = m_saved;
    }
    OutlineScope(const OutlineScope&) = delete;
    OutlineScope& operator=(const OutlineScope&) = delete;

private:
    CElement* m_e;
    bool m_on;
    CSharedStyle m_saved;
};

// The body's border box: the union of its children's boxes, from its own x
// to the available width less its right margin, grown by its top and bottom
// padding.
CRect RootBorderBox(CElement* e, CPoint origin)
{
    CRect box;
    bool any = false;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        CRect r = c->Lay().m_sizeRect;
        r.OffsetRect(origin.x + c->Lay().m_position.x, origin.y + c->Lay().m_position.y);
        if (!any) {
            box = r;
            any = true;
        } else {
            box.left = std::min(box.left, r.left);
            box.top = std::min(box.top, r.top);
            box.right = std::max(box.right, r.right);
            box.bottom = std::max(box.bottom, r.bottom);
        }
    }
    if (!any) {
        box = e->Lay().m_sizeRect;
        box.OffsetRect(origin.x, origin.y);
    }
    box.left = origin.x;
    box.right = origin.x + FillWidth(e) - e->Lay().m_marginRightBottom.x;
    const ELEMENT_STYLE& s = e->Style();
    if (s.paddingTop.set)
        box.top -= PaddingPixels(e, s.paddingTop);
    if (s.paddingBottom.set)
        box.bottom += PaddingPixels(e, s.paddingBottom);
    return box;
}

unsigned long SideColour(const CElement* e, int side)
{
    const BORDER_SIDE& b = e->Style().border[side];
    if (b.colorSet && b.color >= 0)
        return static_cast<unsigned long>(b.color);
    return e->Style().color >= 0 ? static_cast<unsigned long>(e->Style().color) : RGB(0, 0, 0);
}

} // namespace

int BorderWidth(CElement* e, int side)
{
    const BORDER_SIDE& b = e->Style().border[side];
    // Held within the layout's bound whatever the style says, as layout holds
    // it, so the sides' sums below cannot overflow.
    return b.unit == kUnitPixels ? ClampLength(b.width) : e->GetPxValue(b.width, b.unit, 1, 0);
}

bool HasOwnBorder(CElement* e)
{
    for (int side = 0; side < 4; ++side) {
        if (Drawable(e->Style(), side, BorderWidth(e, side)))
            return true;
    }
    return false;
}

} // namespace qm::paint

using namespace qm::paint;

bool CElement::DrawBorder(void* dc, CPoint origin, CRect* rect)
{
    if (!dc || (m_kind == kKindDiv && m_selected))
        return true;
    const bool root = IsRoot(this);
    // The body's box spans all its children: not measured when no side is
    // drawn.
    if (root && !HasOwnBorder(this))
        return true;
    const bool outlined = !root && WantsOutline(this) && !HasOwnBorder(this);

    CRect box = rect ? *rect : Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    if (m_locked && m_block && m_firstChild && outlined)
        box.top += m_firstChild->Lay().m_position.y;
    const bool floatingDiv = m_kind == kKindDiv && m_floating;
    if (root) {
        box = RootBorderBox(this, origin);
    } else if (m_block && !m_tableCell && !m_tablePart && !floatingDiv) {
        const bool autoInDiv = Style().widthSet && Style().widthUnit == 3 && IsElementUnderTag(int(kKindDiv));
        if (!autoInDiv)
            box = FilledBox(this, box);
    }

    // The outline's sides stand in for the element's own while it is drawn;
    // the box above is measured without them.
    OutlineScope outline(this, outlined);
    const int h = GetFlipHeight(this);
    const int state = WrapStateOf(this);
    int w[4];
    for (int side = 0; side < 4; ++side)
        w[side] = BorderWidth(this, side);
    if (m_inline) {
        if (Drawable(Style(), kBorderTop, w[kBorderTop]))
            box.top -= std::max(w[kBorderTop] - 1, 0);
        if (Drawable(Style(), kBorderBottom, w[kBorderBottom]))
            box.bottom += std::max(w[kBorderBottom] - 1, 0);
    }
    const int L = box.left, T = box.top, R = box.right, B = box.bottom;
    auto styleOf = [&](int side) { return Style().border[side].style; };

    if (Drawable(Style(), kBorderLeft, w[kBorderLeft]) && ShowsLeftEdge(state))
        MacDrawLine(dc, L, T, L, B, std::max(w[kBorderLeft], 1), h, styleOf(kBorderLeft),
            SideColour(this, kBorderLeft), false);
    if (Drawable(Style(), kBorderRight, w[kBorderRight]) && ShowsRightEdge(state)) {
        if (w[kBorderRight] < 1)
            MacDrawLine(dc, R - 1, T, R - 1, B, 1, h, kLineDashed, SideColour(this, kBorderRight), false);
        else
            MacDrawLine(dc, R - w[kBorderRight], T, R - w[kBorderRight], B, w[kBorderRight], h,
                styleOf(kBorderRight), SideColour(this, kBorderRight), false);
    }
    if (Drawable(Style(), kBorderTop, w[kBorderTop])) {
        const bool thin = w[kBorderTop] < 1;
        const int width = thin ? 1 : w[kBorderTop];
        MacDrawLine(dc, L, T + width, R, T + width, width, h, thin ? kLineDashed : styleOf(kBorderTop),
            SideColour(this, kBorderTop), true);
    }
    if (Drawable(Style(), kBorderBottom, w[kBorderBottom])) {
        const bool thin = w[kBorderBottom] < 1;
        MacDrawLine(dc, L, B, R, B, thin ? 1 : w[kBorderBottom], h,
            thin ? kLineDashed : styleOf(kBorderBottom), SideColour(this, kBorderBottom), true);
    }
    return true;
}
