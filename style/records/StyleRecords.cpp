// Filling, comparing and merging style cells.

#include "style/records/StyleRecords.h"

#include "element/Element.h"

const int g_priority[3] = {kOriginAttribute, kOriginRule, kOriginStyleAttribute};

namespace {

// The rank of an origin in g_priority; -1 outside 1..3.
int RankOf(int origin)
{
    for (int i = 0; i < 3; ++i) {
        if (g_priority[i] == origin)
            return i;
    }
    return -1;
}

bool IsRankedOrigin(int origin) { return origin >= 1 && origin <= 3; }

// The padding cell of a style for ApplyInheritValue's side order (top,
// bottom, left, right).
template <class Style>
auto& PaddingOf(Style& style, int side)
{
    switch (side) {
    case 0: return style.paddingTop;
    case 1: return style.paddingBottom;
    case 2: return style.paddingLeft;
    default: return style.paddingRight;
    }
}

// The border record of a style for the same side order.
template <class Style>
auto& BorderOf(Style& style, int side)
{
    static const int kSides[4] = {kBorderTop, kBorderBottom, kBorderLeft, kBorderRight};
    return style.border[kSides[side]];
}

bool HasBorderGroup(const ELEMENT_STYLE& style) { return style.borderSet || style.borderFromAttribute; }

// The colour one side of a's border shows: the side's own colour when it
// has one, else a's text colour (black when that is no colour).
std::int32_t ShownBorderColour(const CElement* a, int side)
{
    const ELEMENT_STYLE& style = a->Style();
    const BORDER_SIDE& b = BorderOf(style, side);
    if (b.colorSet && b.color != kColourInherit)
        return b.color;
    return style.color >= 0 ? style.color : 0;
}

} // namespace

void SetStyleType(STYLE_TYPE* cell, long value, int unit, int flag, int origin, bool set, bool inherit,
    bool important, const unsigned short* text)
{
    if (!cell)
        return;
    cell->value = static_cast<std::int32_t>(value);
    cell->unit = unit;
    cell->flag = flag != 0;
    cell->origin = static_cast<std::uint8_t>(origin);
    cell->set = set;
    cell->inherit = inherit;
    cell->important = important;
    if (text)
        cell->text.Set(text);
}

void SetStyleInherit(STYLE_TYPE* cell, bool inherit)
{
    if (cell)
        cell->inherit = inherit;
}

bool CheckStylePriority(int a, int b)
{
    if (!IsRankedOrigin(a) || !IsRankedOrigin(b) || a == b)
        return true;
    return RankOf(a) < RankOf(b);
}

bool CheckSetStyleType(STYLE_TYPE* target, STYLE_TYPE* source, int origin, bool clear)
{
    if (!target || !source)
        return false;
    if (clear) {
        if (target->origin == origin && source->set) {
            target->set = false;
            target->important = false;
        }
        return false;
    }
    if (!source->set)
        return false;
    // The element's own important value (one with an origin) yields only to
    // another important one; an important source passes over the ranks of
    // values that are not.
    const bool ownImportant = target->set && target->important && IsRankedOrigin(target->origin);
    if (ownImportant && !source->important)
        return false;
    const bool overRank = source->important && !ownImportant;
    if (!overRank && IsRankedOrigin(target->origin) && IsRankedOrigin(origin) && target->origin != origin
        && RankOf(target->origin) >= RankOf(origin))
        return false;
    *target = *source;
    target->origin = static_cast<std::uint8_t>(origin);
    target->important = ownImportant || source->important;
    return true;
}

namespace {

template <class Cell>
bool MergeUntyped(Cell* source, Cell* target, int origin)
{
    if (!source || !target || !source->set)
        return false;
    // A value copied from the parent is not the element's own: it never
    // holds out against one that the element is given.
    if (target->set && !target->inherited && (target->inlineStyle || target->explicitValue)
        && !source->explicitValue)
        return false;
    *target = *source;
    target->inlineStyle = origin == kOriginStyleAttribute;
    return true;
}

} // namespace

bool ApplyNewTypeStyle(NewIntStyleValue* source, NewIntStyleValue* target, int origin)
{
    return MergeUntyped(source, target, origin);
}

bool ApplyNewTypeStyle(NewStringStyleValue* source, NewStringStyleValue* target, int origin)
{
    return MergeUntyped(source, target, origin);
}

bool ApplyInheritValue(CElement* e, int value, int which)
{
    if (!e)
        return false;
    ELEMENT_STYLE& own = e->EditStyle();
    if (which == kInheritBackgroundColor) {
        if (value != kColourInherit)
            return false;
        for (CElement* a = e->m_parent; a; a = a->m_parent) {
            if (a->Style().bkColorSet || a->Style().bkColorOrigin) {
                own.bkColor = a->Style().bkColor;
                return true;
            }
        }
        return false;
    }
    if (which >= kInheritBorderColorTop && which <= kInheritBorderColorRight) {
        if (value != kColourInherit)
            return false;
        // The parent's computed colour for that side, whether or not it
        // draws a border there.
        if (!e->m_parent)
            return false;
        BorderOf(own, which - kInheritBorderColorTop).color
            = ShownBorderColour(e->m_parent, which - kInheritBorderColorTop);
        return true;
    }
    if (which >= kInheritLineStyleTop && which <= kInheritLineStyleRight) {
        if (value != kLineInherit)
            return false;
        int side = which - kInheritLineStyleTop;
        for (CElement* a = e->m_parent; a; a = a->m_parent) {
            if (HasBorderGroup(a->Style())) {
                BorderOf(own, side).style = BorderOf(a->Style(), side).style;
                return true;
            }
        }
        return false;
    }
    if (which >= kInheritPaddingTop && which <= kInheritPaddingRight) {
        if (value >= 0)
            return false;
        int side = which - kInheritPaddingTop;
        for (CElement* a = e->m_parent; a; a = a->m_parent) {
            const STYLE_TYPE& lender = PaddingOf(a->Style(), side);
            if (lender.set || lender.important) {
                STYLE_TYPE& cell = PaddingOf(own, side);
                cell = lender;
                cell.unit = static_cast<std::int32_t>(static_cast<std::uint32_t>(cell.unit) | 0x80000000u);
                return true;
            }
        }
        return false;
    }
    return false;
}
