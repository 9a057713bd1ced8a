#include "style/cascade/DefaultStyle.h"

#include "base/geometry/Colour.h"
#include "base/text/SafeBuf.h"
#include "base/text/U16.h"
#include "element/Element.h"
#include "style/records/FontDefaults.h"
#include "style/records/StyleRecords.h"

#include <initializer_list>

namespace {

// The family number of the monospace family.
constexpr long kMonospaceFont = 1;

bool Is(const unsigned short* tag, const char* name) { return U16cmp(tag, name) == 0; }

bool IsAny(const unsigned short* tag, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (Is(tag, name))
            return true;
    }
    return false;
}

void Weight(ELEMENT_STYLE& s, int weight)
{
    s.fontSet = 1;
    s.fontWeight = weight;
    s.weightSet = 1;
}

void Size(ELEMENT_STYLE& s, int size, int unit)
{
    s.fontSet = 1;
    s.fontSize = static_cast<std::int16_t>(size);
    s.fontSizeUnit = static_cast<std::int16_t>(unit);
    s.sizeSet = 1;
}

void Family(ELEMENT_STYLE& s, const char* family)
{
    s.fontSet = 1;
    int n = 0;
    for (; family[n] && n < kFontFamilyUnits - 1; ++n)
        s.fontFamily[n] = static_cast<unsigned char>(family[n]);
    s.fontFamily[n] = 0;
    s.fontNumber = static_cast<std::int32_t>(kMonospaceFont);
    s.familySet = 1;
}

void Align(ELEMENT_STYLE& s, std::uint16_t horizontal, std::uint16_t vertical)
{
    s.align = static_cast<std::uint16_t>(horizontal | vertical);
    s.hAlignSet = horizontal != 0;
    s.vAlignSet = vertical != 0;
}

void GreyFrame(ELEMENT_STYLE& s)
{
    s.borderSet = 1;
    for (BORDER_SIDE& side : s.border)
        side = BORDER_SIDE{kLineSolid, 1, kUnitPixels, static_cast<std::int32_t>(RGB(192, 192, 192)), 1, 1};
}

void Margin(STYLE_TYPE& cell, int value)
{
    SetStyleType(&cell, value, kUnitPixels, 0, kOriginNone, true, false, false, nullptr);
}

} // namespace

void SetDefaultStyle(const unsigned short* tag, CElement* e)
{
    if (!tag || !e)
        return;
    ELEMENT_STYLE& s = e->EditStyle();
    if (Is(tag, "strong")) {
        Weight(s, 900);
    } else if (Is(tag, "b")) {
        Weight(s, 700);
    } else if (IsAny(tag, {"sub", "sup"})) {
        Size(s, 82, kUnitPercent);
    } else if (Is(tag, "big")) {
        Size(s, 133, kUnitPercent);
    } else if (Is(tag, "small")) {
        Size(s, 80, kUnitPercent);
    } else if (IsAny(tag, {"i", "cite", "dfn", "var", "address", "em"})) {
        s.fontSet = 1;
        s.italic = 1;
        s.italicSet = 1;
    } else if (IsAny(tag, {"code", "samp", "kbd"})) {
        Family(s, "courier new");
    } else if (Is(tag, "pre")) {
        Family(s, "Courier New");
        Size(s, 13, kUnitPixels);
    } else if (tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6' && tag[2] == 0) {
        static const int kSizes[6] = {32, 24, 18, 16, 13, 10};
        Weight(s, 700);
        Size(s, kSizes[tag[1] - '1'], kUnitPixels);
    } else if (Is(tag, "th")) {
        Weight(s, 700);
        Align(s, kAlignCenter, kAlignMiddle);
    } else if (Is(tag, "td")) {
        Align(s, 0, kAlignMiddle);
    } else if (Is(tag, "caption")) {
        Align(s, kAlignCenter, 0);
        GreyFrame(s);
    } else if (Is(tag, "fieldset")) {
        GreyFrame(s);
        s.widthSet = 1;
        s.widthUnit = kUnitPercent;
        s.width = 100;
    } else if (Is(tag, "img")) {
        s.colorSet = 1;
        s.color = 0;
    } else if (Is(tag, "bdo")) {
        SetStyleType(&s.direction, kDirectionRtl, 0, 0, kOriginNone, true, false, false, nullptr);
        s.rtl = 1;
    } else if (IsAny(tag, {"ul", "ol"})) {
        const int spacing = kBaseFontSize + 3;
        Margin(s.marginLeft, 50);
        Margin(s.marginTop, e->m_prevSibling ? spacing : 0);
        Margin(s.marginBottom, e->m_nextSibling ? spacing : 0);
    }
}

void SetDefaultStyle(const char* tag, CElement* e)
{
    if (!tag)
        return;
    const CSafeBuf wide(reinterpret_cast<const unsigned char*>(tag));
    SetDefaultStyle(static_cast<const unsigned short*>(wide), e);
}
