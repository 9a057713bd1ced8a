// Presentational attributes into the style. Attribute names compare without
// regard to case. Values of origin 1 (align, valign, border, width, height)
// never replace a rule's or a style attribute's value; cellpadding and dir
// write with origin 3, as a rule does.

#include "base/text/Ascii.h"
#include "base/text/U16.h"
#include "element/Element.h"
#include "style/records/StyleRecords.h"

#include <climits>
#include <cstring>

namespace {

// The integer at the start of the value (blanks and a sign allowed), held
// within the range of int; 0 when there is none.
int LeadingInt(const CSafeBuf& value)
{
    int i = 0;
    while (value.GetAt(i) == ' ' || value.GetAt(i) == '\t')
        ++i;
    bool negative = false;
    if (value.GetAt(i) == '-' || value.GetAt(i) == '+')
        negative = value.GetAt(i++) == '-';
    long long n = 0;
    for (; IsAsciiDigit(value.GetAt(i)); ++i) {
        if (n < INT_MAX)
            n = n * 10 + (value.GetAt(i) - '0');
    }
    if (n > INT_MAX)
        n = INT_MAX;
    return static_cast<int>(negative ? -n : n);
}

bool Is(const CSafeBuf& text, const char* word) { return text.CompareNoCase(word) == 0; }

// A table span: the value, or 0 above 1000 (and below 0).
std::int16_t Span(const CSafeBuf& value)
{
    const int n = LeadingInt(value);
    return static_cast<std::int16_t>(n > 1000 || n < 0 ? 0 : n);
}

bool TakesBoxAttribute(long kind, bool width)
{
    switch (kind) {
    case kKindImg:
    case kKindTd:
    case kKindTh:
    case kKindMap:
    case kKindObject: return true;
    case kKindHr:
    case kKindTable:
    case kKindColgroup:
    case kKindCol:
    case kKindPre: return width;
    default: return false;
    }
}

// width or height: 1 or more sets the size (percent when the value holds
// "%"), less unsets it.
void BoxSize(
    const CSafeBuf& value, std::uint8_t& set, std::int16_t& unit, std::int16_t& size, std::uint8_t& origin)
{
    if (!CheckStylePriority(origin, kOriginAttribute))
        return;
    const int n = LeadingInt(value);
    origin = kOriginAttribute;
    if (n < 1) {
        set = 0;
        return;
    }
    set = 1;
    size = static_cast<std::int16_t>(n > SHRT_MAX ? SHRT_MAX : n);
    unit = static_cast<std::int16_t>(value.Find('%') >= 0 ? kUnitPercent : kUnitPixels);
}

void BorderAttribute(ELEMENT_STYLE& s, const CSafeBuf& value)
{
    if (!CheckStylePriority(s.borderOrigin, kOriginAttribute))
        return;
    s.borderFromAttribute = 1;
    s.borderOrigin = kOriginAttribute;
    const int n = LeadingInt(value);
    if (n < 1) {
        s.borderSet = 0;
        return;
    }
    s.borderSet = 1;
    BORDER_SIDE& top = s.border[kBorderTop];
    top.width = n;
    top.set = 1;
    for (int side : {kBorderLeft, kBorderRight, kBorderBottom}) {
        s.border[side].style = top.style;
        s.border[side].unit = top.unit;
        s.border[side].color = top.color;
        s.border[side].width = n;
    }
}

void AlignAttribute(ELEMENT_STYLE& s, const CSafeBuf& value)
{
    if (!CheckStylePriority(s.hAlignOrigin, kOriginAttribute))
        return;
    const std::uint16_t bits = Is(value, "left") ? kAlignLeft
        : Is(value, "center")                    ? kAlignCenter
        : Is(value, "right")                     ? kAlignRight
                                                 : 0;
    s.align = static_cast<std::uint16_t>((s.align & kAlignVerticalMask) | bits);
    s.hAlignSet = bits != 0;
    s.hAlignOrigin = kOriginAttribute;
}

void VAlignAttribute(ELEMENT_STYLE& s, const CSafeBuf& value)
{
    const std::uint16_t bits = Is(value, "top") ? kAlignTop
        : Is(value, "middle")                   ? kAlignMiddle
        : Is(value, "bottom")                   ? kAlignBottom
                                                : 0;
    if (!bits || !CheckStylePriority(s.vAlignOrigin, kOriginAttribute))
        return;
    s.align = static_cast<std::uint16_t>((s.align & kAlignHorizontalMask) | bits);
    s.vAlignSet = 1;
    s.vAlignOrigin = kOriginAttribute;
}

void CellPadding(ELEMENT_STYLE& s, const CSafeBuf& value)
{
    STYLE_TYPE padding{};
    SetStyleType(&padding, LeadingInt(value), value.Find('%') >= 0 ? kUnitPercent : kUnitPixels, 0,
        kOriginRule, true, false, false, nullptr);
    for (STYLE_TYPE* side : {&s.paddingTop, &s.paddingBottom, &s.paddingLeft, &s.paddingRight})
        CheckSetStyleType(side, &padding, kOriginRule, false);
}

void DirAttribute(ELEMENT_STYLE& s, const CSafeBuf& value)
{
    const bool rtl = Is(value, "rtl");
    if (!rtl && !Is(value, "ltr"))
        return;
    STYLE_TYPE direction{};
    SetStyleType(
        &direction, rtl ? kDirectionRtl : kDirectionLtr, 0, 0, kOriginRule, true, false, false, nullptr);
    if (CheckSetStyleType(&s.direction, &direction, kOriginRule, false))
        s.rtl = rtl;
}

// The attributes that LoadAttributeStyle reads; told apart by length and
// first letter before any comparison (most attributes, href, class, id,
// src ..., take none).
bool IsAttributeWithStyle(const CSafeBuf& name)
{
    static const char* const kNames[] = {"colspan", "rowspan", "cellspacing", "cellpadding", "border",
        "height", "width", "align", "valign", "dir"};
    // The name as far as its terminator, as the comparison reads it (never
    // longer than the text: a short one is told without reading it).
    if (name.Length() < 3)
        return false;
    const int length = U16len(static_cast<const unsigned short*>(name));
    if (length < 3 || length > 11)
        return false;
    const unsigned short first = name.GetAt(0) | 0x20;
    for (const char* n : kNames) {
        if (static_cast<unsigned short>(n[0]) == first && static_cast<int>(std::strlen(n)) == length
            && Is(name, n))
            return true;
    }
    return false;
}

} // namespace

void CElement::ApplyAttrSyle()
{
    if (m_attributes.IsEmpty() && Rare().m_attributes2.IsEmpty())
        return;
    const CMapStringToString* maps[] = {&m_attributes, &Rare().m_attributes2};
    for (const CMapStringToString* map : maps) {
        // Only the attributes that style are copied out (the style changes,
        // the maps do not); most elements with attributes have none of
        // them, and make no copies.
        map->ForEachPair([&](const CSafeBuf& key, const CSafeBuf& text) {
            if (!IsAttributeWithStyle(key))
                return;
            CSafeBuf name(key), value(text);
            LoadAttributeStyle(name, value);
        });
    }
}

void CElement::LoadAttributeStyle(CSafeBuf& name, CSafeBuf& value)
{
    // Other attributes leave the style as it is (and shared).
    if (!IsAttributeWithStyle(name))
        return;
    ELEMENT_STYLE& s = EditStyle();
    if (Is(name, "colspan")) {
        s.colSpan = Span(value);
    } else if (Is(name, "rowspan")) {
        s.rowSpan = Span(value);
    } else if (Is(name, "cellspacing")) {
        const int n = LeadingInt(value);
        s.cellSpacing = static_cast<std::int16_t>(n > 100 || n < 0 ? 0 : n);
        s.cellSpacingSet = 1;
    } else if (Is(name, "cellpadding")) {
        CellPadding(s, value);
    } else if (Is(name, "border")) {
        BorderAttribute(s, value);
    } else if (Is(name, "height")) {
        if (TakesBoxAttribute(m_kind, false))
            BoxSize(value, s.heightSet, s.heightUnit, s.height, s.heightOrigin);
    } else if (Is(name, "width")) {
        if (TakesBoxAttribute(m_kind, true))
            BoxSize(value, s.widthSet, s.widthUnit, s.width, s.widthOrigin);
    } else if (Is(name, "align")) {
        AlignAttribute(s, value);
    } else if (Is(name, "valign")) {
        VAlignAttribute(s, value);
    } else if (Is(name, "dir")) {
        DirAttribute(s, value);
    }
}
