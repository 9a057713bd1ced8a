// Length resolution (CalcForAll): what an element's layout needs of its
// style before its box is built: the alignment that the direction implies,
// the margins, the first-line indent and the element's place in the root's
// float list.

#include "element/Element.h"
#include "style/layout/LayoutBox.h"
#include "style/records/FontDefaults.h"

#include <vector>

namespace {

constexpr int kParagraphSpacing = kBaseFontSize + 3;

// What em margins scale by: walking up from e (itself included), the first
// element with a font size of its own gives that size when it is in pixels
// and no base (0, the element's own font) otherwise; a table ends the walk
// with no base; past the root, the base font size.
int EmBase(const CElement* e)
{
    for (const CElement* a = e; a; a = a->m_parent) {
        if (a->Style().sizeSet)
            return a->Style().fontSizeUnit == kUnitPixels ? a->Style().fontSize : 0;
        if (a->m_kind == kKindTable)
            return 0;
    }
    return kBaseFontSize;
}

bool HasUnit(const STYLE_TYPE& cell) { return cell.set && cell.unit != kUnitInherit; }

// The margins the style sets, over lt (left, top) and rb (right, bottom).
void ResolveMargins(CElement* e, CPoint& lt, CPoint& rb)
{
    const ELEMENT_STYLE& s = e->Style();
    // The em base is looked up only when a margin needs it.
    int base = -1;
    auto resolve = [e, &base](const STYLE_TYPE& cell) -> int {
        // A percentage of the width the parent holds for its content: the
        // element's own width depends on its margins.
        if (cell.unit == kUnitPercent)
            return (e->m_parent ? e->m_parent : e)->GetPercentValue(cell.value);
        if (cell.unit == kUnitEm && base < 0)
            base = EmBase(e);
        return e->GetPxValue(cell.value, cell.unit, 1, base < 0 ? 0 : base);
    };
    if (HasUnit(s.marginLeft))
        lt.x = resolve(s.marginLeft);
    if (HasUnit(s.marginTop))
        lt.y = resolve(s.marginTop);
    if (HasUnit(s.marginRight))
        rb.x = resolve(s.marginRight);
    if (HasUnit(s.marginBottom))
        rb.y = resolve(s.marginBottom);
}

void ResolveLengths(CElement* e, bool keepIndent)
{
    const ELEMENT_STYLE& s = e->Style();
    // 1. A direction without an alignment of its own: right to left aligns
    // right, left to right clears the horizontal alignment. The style is
    // written only when this changes it, so a shared style stays shared.
    if (s.direction.set && !s.hAlignSet) {
        std::uint16_t align = s.align;
        if (s.direction.value == kDirectionRtl)
            align = static_cast<std::uint16_t>((align & kAlignVerticalMask) | kAlignRight);
        else if (s.direction.value == kDirectionLtr)
            align &= kAlignVerticalMask;
        if (align != s.align)
            e->EditStyle().align = align;
    }
    if (e->m_kind == kKindTr || e->m_kind == kKindText)
        return;
    // 2. The default margins and the indent.
    CPoint lt(e->m_defaultMargin.left, e->m_defaultMargin.top);
    CPoint rb(e->m_defaultMargin.right, e->m_defaultMargin.bottom);
    CPoint indent = e->LayOrDefault().m_indent;
    indent.x = !keepIndent && HasUnit(s.textIndent)
        ? e->GetPxValue(s.textIndent.value, s.textIndent.unit, 1, 0)
        : 0;
    // 3. A block with a line-height of its own spaces itself by it: half the
    // line height and 3 when that is at least the paragraph spacing, else the
    // paragraph spacing.
    int lineHeight = 0;
    if (e->m_block && LineHeightOf(e, true, 0, lineHeight)) {
        int spacing = lineHeight + 3;
        spacing = spacing >= kParagraphSpacing ? spacing / 2 : kParagraphSpacing;
        lt.y = spacing;
        rb.y = spacing;
    }
    // 4. The margins the style sets.
    ResolveMargins(e, lt, rb);
    e->SetLay(&CElementLayout::m_marginLeftTop, lt);
    e->SetLay(&CElementLayout::m_marginRightBottom, rb);
    e->SetLay(&CElementLayout::m_indent, indent);
    // 5. The float list.
    if (!keepIndent)
        e->UpdateFloatList();
    // 6. Room for the tag markers.
    e->CalcForMarker(nullptr, false);
}

} // namespace

bool CElement::CalcForAll(void*, bool keepIndent, bool recurse)
{
    ResolveLengths(this, keepIndent);
    if (!recurse)
        return true;
    // The subtree in document order, without recursion.
    for (CElement* c = m_firstChild; c;) {
        ResolveLengths(c, keepIndent);
        if (c->m_firstChild) {
            c = c->m_firstChild;
            continue;
        }
        while (c != this && !c->m_nextSibling)
            c = c->m_parent;
        c = c == this ? nullptr : c->m_nextSibling;
    }
    return true;
}
