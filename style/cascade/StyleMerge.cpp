#include "style/cascade/StyleMerge.h"

#include "base/geometry/Colour.h"
#include "element/Element.h"
#include "style/records/StyleRecords.h"

namespace {

// A group of origin `target` is written by a set source of origin `origin`.
bool Writes(bool sourceSet, int target, int origin)
{
    return sourceSet && CheckStylePriority(target, origin);
}

// A group is cleared when the source sets it and it holds that origin.
bool Clears(bool sourceSet, int target, int origin) { return sourceSet && target == origin; }

// Untyped cells: one of that origin's kind (inline for the style attribute,
// not inline for any other) is emptied when the source sets it.
template <class Cell>
void MergeCell(Cell& target, Cell& source, int origin, bool clear)
{
    if (!source.set)
        return;
    if (!clear) {
        ApplyNewTypeStyle(&source, &target, origin);
        return;
    }
    if (target.set && target.inlineStyle == (origin == kOriginStyleAttribute))
        target = Cell{};
}

// A typed cell; an unset source changes nothing, cleared or not.
bool MergeType(STYLE_TYPE& target, STYLE_TYPE& source, int origin, bool clear)
{
    return source.set && CheckSetStyleType(&target, &source, origin, clear);
}

bool SourceHasBorders(const ELEMENT_STYLE& s)
{
    if (s.borderSet)
        return true;
    for (const BORDER_SIDE& side : s.border) {
        if (side.set || side.colorSet)
            return true;
    }
    return false;
}

void MergeAlignment(ELEMENT_STYLE& t, const ELEMENT_STYLE& s, int origin, bool clear)
{
    if (clear) {
        if (Clears(s.hAlignSet, t.hAlignOrigin, origin)) {
            t.hAlignSet = 0;
            t.hAlignOrigin = 0;
            t.align &= kAlignVerticalMask;
        }
    } else if (Writes(s.hAlignSet, t.hAlignOrigin, origin)) {
        t.align
            = static_cast<std::uint16_t>((t.align & kAlignVerticalMask) | (s.align & kAlignHorizontalMask));
        t.hAlignSet = 1;
        t.hAlignOrigin = static_cast<std::uint8_t>(origin);
    }
}

void MergeVerticalAlignment(ELEMENT_STYLE& t, const ELEMENT_STYLE& s, int origin, bool clear)
{
    if (clear) {
        if (Clears(s.vAlignSet, t.vAlignOrigin, origin)) {
            t.vAlignSet = 0;
            t.vAlignOrigin = 0;
            t.align &= kAlignHorizontalMask;
        }
    } else if (Writes(s.vAlignSet, t.vAlignOrigin, origin)) {
        t.align
            = static_cast<std::uint16_t>((t.align & kAlignHorizontalMask) | (s.align & kAlignVerticalMask));
        t.vAlignSet = 1;
        t.vAlignOrigin = static_cast<std::uint8_t>(origin);
    }
}

void MergeBackground(CElement* e, const ELEMENT_STYLE& s, int origin, bool clear)
{
    ELEMENT_STYLE& t = e->EditStyle();
    if (clear) {
        if (Clears(s.bkColorSet, t.bkColorOrigin, origin)) {
            t.bkColorSet = 0;
            t.bkColorOrigin = 0;
            t.bkColor = static_cast<std::int32_t>(RGB(255, 255, 255));
        }
    } else if (Writes(s.bkColorSet, t.bkColorOrigin, origin)) {
        t.bkColor = s.bkColor;
        t.bkColorSet = 1;
        t.bkColorOrigin = static_cast<std::uint8_t>(origin);
        ApplyInheritValue(e, t.bkColor, kInheritBackgroundColor);
    }
    if (clear) {
        if (Clears(s.bkImageSet, t.bkImageOrigin, origin)) {
            t.bkImageSet = 0;
            t.bkImageOrigin = 0;
            t.bkImage.Clear();
        }
    } else if (Writes(s.bkImageSet, t.bkImageOrigin, origin)) {
        t.bkImage = s.bkImage;
        t.bkRepeat = s.bkRepeat;
        t.bkPositionX = s.bkPositionX;
        t.bkPositionY = s.bkPositionY;
        t.bkPositionKinds = s.bkPositionKinds;
        t.bkImageSet = 1;
        t.bkImageOrigin = static_cast<std::uint8_t>(origin);
    }
}

// The font group back to what the parent gives, then the kind's own
// emphasis; without a parent the group is unset.
void RestoreFont(CElement* e)
{
    ELEMENT_STYLE& t = e->EditStyle();
    t.fontOrigin = 0;
    t.weightSet = t.underlineSet = t.italicSet = t.sizeSet = t.familySet = t.lineThroughSet = 0;
    t.weightExplicit = t.italicExplicit = 0;
    if (!e->m_parent) {
        t.fontSet = 0;
        return;
    }
    const ELEMENT_STYLE& p = e->m_parent->Style();
    t.fontSize = p.fontSize;
    t.fontSizeUnit = p.fontSizeUnit;
    t.fontFamily = p.fontFamily;
    t.fontNumber = p.fontNumber;
    t.fontWeight = p.fontWeight;
    t.italic = p.italic;
    t.underline = p.underline;
    t.lineThrough = p.lineThrough;
    t.weightInherited = t.underlineInherited = t.italicInherited = 1;
    t.sizeInherited = t.familyInherited = t.lineThroughInherited = 1;
    if (e->m_kind == kKindStrong)
        t.fontWeight = 900;
    else if (e->m_kind == kKindB)
        t.fontWeight = 700;
    else if (e->m_kind == kKindEm || e->m_kind == kKindI)
        t.italic = 1;
}

void MergeFont(CElement* e, const ELEMENT_STYLE& s, int origin, bool clear)
{
    ELEMENT_STYLE& t = e->EditStyle();
    if (clear) {
        if (Clears(s.fontSet, t.fontOrigin, origin))
            RestoreFont(e);
        return;
    }
    if (!Writes(s.fontSet, t.fontOrigin, origin))
        return;
    if (s.weightSet) {
        t.fontWeight = s.fontWeight;
        t.weightSet = 1;
        t.weightInherited = 0;
        t.weightExplicit = s.weightExplicit;
    }
    if (s.underlineSet && (!t.underlineSet || t.underlineInherited)) {
        t.underline = s.underline;
        t.underlineSet = 1;
        t.underlineInherited = 0;
    }
    if (s.lineThroughSet && (!t.lineThroughSet || t.lineThroughInherited)) {
        t.lineThrough = s.lineThrough;
        t.lineThroughSet = 1;
        t.lineThroughInherited = 0;
    }
    if (s.italicSet && (!t.italicSet || t.italicInherited || s.italicExplicit)) {
        t.italic = s.italic;
        t.italicSet = 1;
        t.italicInherited = 0;
        t.italicExplicit = s.italicExplicit;
    }
    if (s.sizeSet) {
        t.fontSize = s.fontSize;
        t.fontSizeUnit = s.fontSizeUnit;
        t.sizeSet = 1;
        t.sizeInherited = 0;
    }
    if (s.familySet) {
        t.fontFamily = s.fontFamily;
        t.fontNumber = s.fontNumber;
        t.familySet = 1;
        t.familyInherited = 0;
    }
    t.noDecoration = s.noDecoration;
    t.fontSet = 1;
    t.fontOrigin = static_cast<std::uint8_t>(origin);
}

void MergeColour(ELEMENT_STYLE& t, const ELEMENT_STYLE& s, int origin, bool clear)
{
    if (clear) {
        if (Clears(s.colorSet, t.colorOrigin, origin)) {
            t.colorSet = 0;
            t.colorOrigin = 0;
            t.color = static_cast<std::int32_t>(RGB(128, 128, 128));
        }
    } else if (Writes(s.colorSet, t.colorOrigin, origin)) {
        t.color = s.color;
        t.colorSet = 1;
        t.colorOrigin = static_cast<std::uint8_t>(origin);
    }
}

void MergeBox(ELEMENT_STYLE& t, const ELEMENT_STYLE& s, int origin, bool clear)
{
    if (clear) {
        if (Clears(s.widthSet, t.widthOrigin, origin))
            t.widthSet = t.widthOrigin = 0;
        if (Clears(s.heightSet, t.heightOrigin, origin))
            t.heightSet = t.heightOrigin = 0;
        return;
    }
    if (Writes(s.widthSet, t.widthOrigin, origin)) {
        t.width = s.width;
        t.widthUnit = s.widthUnit;
        t.widthSet = 1;
        t.widthOrigin = static_cast<std::uint8_t>(origin);
    }
    if (Writes(s.heightSet, t.heightOrigin, origin)) {
        t.height = s.height;
        t.heightUnit = s.heightUnit;
        t.heightSet = 1;
        t.heightOrigin = static_cast<std::uint8_t>(origin);
    }
}

void MergeBorders(CElement* e, const ELEMENT_STYLE& s, int origin, bool clear)
{
    ELEMENT_STYLE& t = e->EditStyle();
    const bool has = SourceHasBorders(s);
    if (clear) {
        if (Clears(has, t.borderOrigin, origin)) {
            t.borderSet = 0;
            t.borderOrigin = 0;
            t.borderFromAttribute = 0;
            for (BORDER_SIDE& side : t.border)
                side = BORDER_SIDE{kLineNone, 3, 0, 0, 0, 0};
        }
        return;
    }
    if (!Writes(has, t.borderOrigin, origin))
        return;
    for (int i = 0; i < 4; ++i) {
        const BORDER_SIDE& from = s.border[i];
        BORDER_SIDE& to = t.border[i];
        if (from.set) {
            to.width = from.width;
            to.unit = from.unit;
            if (s.borderSet)
                to.style = from.style;
            to.set = 1;
        }
        if (from.colorSet) {
            to.color = from.color;
            to.colorSet = 1;
        }
    }
    if (s.borderSet)
        t.borderSet = 1;
    t.borderOrigin = static_cast<std::uint8_t>(origin);
    // Sides in the order of ApplyInheritValue: top, bottom, left, right.
    static const int kSides[4] = {kBorderTop, kBorderBottom, kBorderLeft, kBorderRight};
    for (int i = 0; i < 4; ++i) {
        ApplyInheritValue(e, t.border[kSides[i]].color, kInheritBorderColorTop + i);
        ApplyInheritValue(e, t.border[kSides[i]].style, kInheritLineStyleTop + i);
    }
}

} // namespace

bool HasNoPadding(const CElement* e) { return e && (e->m_kind == kKindText || e->m_kind == kKindComment); }

void SetNewStyle(CElement* e, ELEMENT_STYLE* source, int origin, bool clear)
{
    if (!e || !source)
        return;
    ELEMENT_STYLE& t = e->EditStyle();
    ELEMENT_STYLE& s = *source;
    MergeType(t.clear, s.clear, origin, clear);
    MergeType(t.floatSide, s.floatSide, origin, clear);
    MergeType(t.textIndent, s.textIndent, origin, clear);
    if (MergeType(t.direction, s.direction, origin, clear))
        t.rtl = t.direction.value == kDirectionRtl;
    MergeType(t.marginTop, s.marginTop, origin, clear);
    MergeType(t.marginBottom, s.marginBottom, origin, clear);
    MergeType(t.marginLeft, s.marginLeft, origin, clear);
    MergeType(t.marginRight, s.marginRight, origin, clear);
    if (e->m_kind != kKindTable && !HasNoPadding(e)) {
        STYLE_TYPE* targets[4] = {&t.paddingTop, &t.paddingBottom, &t.paddingLeft, &t.paddingRight};
        STYLE_TYPE* sources[4] = {&s.paddingTop, &s.paddingBottom, &s.paddingLeft, &s.paddingRight};
        for (int i = 0; i < 4; ++i) {
            MergeType(*targets[i], *sources[i], origin, clear);
            if (!clear)
                ApplyInheritValue(e, targets[i]->unit, kInheritPaddingTop + i);
        }
    }
    MergeAlignment(t, s, origin, clear);
    MergeBackground(e, s, origin, clear);
    MergeFont(e, s, origin, clear);
    MergeColour(t, s, origin, clear);
    MergeVerticalAlignment(t, s, origin, clear);
    MergeBox(t, s, origin, clear);
    MergeBorders(e, s, origin, clear);
    MergeCell(t.listType, s.listType, origin, clear);
    MergeCell(t.listPosition, s.listPosition, origin, clear);
    MergeCell(t.listImage, s.listImage, origin, clear);
    MergeCell(t.lock, s.lock, origin, clear);
    MergeCell(t.markerColor, s.markerColor, origin, clear);
    MergeCell(t.markerBackgroundColor, s.markerBackgroundColor, origin, clear);
    MergeCell(t.markerBorderColor, s.markerBorderColor, origin, clear);
    MergeCell(t.markerLabel, s.markerLabel, origin, clear);
    MergeCell(t.captionSide, s.captionSide, origin, clear);
    MergeCell(t.lineHeight, s.lineHeight, origin, clear);
    MergeCell(t.textTransform, s.textTransform, origin, clear);
    if (e->m_kind == kKindTable)
        MergeCell(t.borderCollapse, s.borderCollapse, origin, clear);
}
