// Keyword and text properties of the CSS property parser: "direction",
// "text-decoration", "caption-side", "line-height", "text-transform",
// "text-align", "vertical-align", "float", "clear", "border-collapse" and
// "color".

#include "element/services/XDocServices.h"

#include "style/parser/CssWords.h"
#include "style/parser/PropertyHandlers.h"
#include "style/records/StyleRecords.h"
#include "style/records/TextTransformUse.h"
#include "style/values/CssColour.h"

using namespace qm::css;

namespace {

constexpr int kMaxPacked = 0x7FFF; // numbers of a packed line height

const Keyword kDirections[] = {{"rtl", kDirectionRtl}, {"ltr", kDirectionLtr}, {nullptr, 0}};
const Keyword kCaptionSides[] = {{"top", 1}, {"bottom", 4}, {nullptr, 0}};
const Keyword kTransforms[]
    = {{"capitalize", 1}, {"uppercase", 2}, {"lowercase", 3}, {"none", 4}, {nullptr, 0}};
const Keyword kHorizontal[]
    = {{"left", kAlignLeft}, {"right", kAlignRight}, {"center", kAlignCenter}, {nullptr, 0}};
const Keyword kVertical[]
    = {{"top", kAlignTop}, {"bottom", kAlignBottom}, {"middle", kAlignMiddle}, {nullptr, 0}};
const Keyword kFloats[] = {{"left", kFloatLeft}, {"right", kFloatRight}, {"none", kFloatNone}, {nullptr, 0}};
const Keyword kClears[] = {
    {"left", kFloatLeft}, {"right", kFloatRight}, {"both", kFloatBoth}, {"none", kFloatNone}, {nullptr, 0}};

void SetInt(NewIntStyleValue& cell, int value, bool inherit = false)
{
    cell.set = true;
    cell.value = value;
    cell.inherit = inherit;
    cell.inherited = 0;
}

bool IntKeyword(NewIntStyleValue& cell, const CSafeBuf& value, const Keyword* table)
{
    int code = 0;
    if (!FindKeyword(value, table, true, code))
        return false;
    SetInt(cell, code);
    return true;
}

// A keyword into a cell with an origin.
bool CellKeyword(STYLE_TYPE& cell, const CSafeBuf& value, const Keyword* table)
{
    int code = 0;
    if (!FindKeyword(value, table, true, code))
        return false;
    SetStyleType(&cell, code, kUnitPixels, 0, kOriginRule, true, false, false, nullptr);
    return true;
}

} // namespace

namespace qm::css {

bool ParseDirection(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    return CellKeyword(style.direction, value, kDirections);
}

// The font group is marked before the value is tested, as the cascade has
// always seen it.
bool ParseTextDecoration(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    style.fontSet = 1;
    style.fontOrigin = kOriginRule;
    if (value.CompareNoCase("underline") == 0) {
        style.underline = 1;
        style.underlineSet = 1;
        style.underlineInherited = 0;
    } else if (value.CompareNoCase("line-through") == 0) {
        style.lineThrough = 1;
        style.lineThroughSet = 1;
        style.lineThroughInherited = 0;
    } else if (value.CompareNoCase("none") == 0) {
        style.noDecoration = 1;
    } else if (value.CompareNoCase("overline") != 0 && value.CompareNoCase("blink") != 0) {
        return false;
    }
    return true;
}

bool ParseCaptionSide(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    return IntKeyword(style.captionSide, value, kCaptionSides);
}

bool ParseTextTransform(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    if (!IntKeyword(style.textTransform, value, kTransforms))
        return false;
    NoteTextTransformRead();
    return true;
}

bool ParseLineHeight(CXDocServices& doc, NewIntStyleValue& cell, CSafeBuf& value)
{
    int unit = 0;
    long number = 0;
    if (doc.ParseLengthAndPercentageValue(value, unit, number, false)) {
        if (number < 0)
            return false;
    } else {
        double plain = 0;
        if (!ParseNumber(value, value.Length(), plain) || plain < 0)
            return false;
        unit = kUnitFontHundredths;
        number = ClampToInt(plain * 100, 0, kMaxPacked);
    }
    if (number > kMaxPacked)
        number = kMaxPacked;
    SetInt(cell, static_cast<int>((static_cast<unsigned>(unit) << 16) | static_cast<unsigned>(number)));
    return true;
}

bool ParseLineHeightProperty(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    return ParseLineHeight(doc, style.lineHeight, value);
}

bool ParseTextAlign(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    int code = 0;
    if (!FindKeyword(value, kHorizontal, true, code))
        return false;
    style.align = static_cast<std::uint16_t>((style.align & kAlignVerticalMask) | code);
    style.hAlignSet = 1;
    style.hAlignOrigin = kOriginRule;
    return true;
}

bool ParseVerticalAlign(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    int code = 0;
    if (!FindKeyword(value, kVertical, true, code))
        return false;
    style.align = static_cast<std::uint16_t>((style.align & kAlignHorizontalMask) | code);
    style.vAlignSet = 1;
    style.vAlignOrigin = kOriginRule;
    return true;
}

bool ParseFloat(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    return CellKeyword(style.floatSide, value, kFloats);
}

bool ParseClear(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    return CellKeyword(style.clear, value, kClears);
}

bool ParseBorderCollapse(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    if (value == "collapse")
        SetInt(style.borderCollapse, 1);
    else if (value == "separate")
        SetInt(style.borderCollapse, 0);
    else if (value == "inherit")
        SetInt(style.borderCollapse, 0, true);
    else
        return false;
    return true;
}

// An invalid colour is ignored.
bool ParseTextColour(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    const int colour = GetColor(value, false);
    if (colour == kColorInvalid)
        return false;
    style.color = colour;
    style.colorSet = 1;
    style.colorOrigin = kOriginRule;
    return true;
}

} // namespace qm::css
