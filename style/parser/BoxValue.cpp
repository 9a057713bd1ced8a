// Box properties of the CSS property parser: margins, paddings (one side or
// one to four values), "text-indent", "width" and "height".

#include "element/services/XDocServices.h"

#include "style/parser/CssWords.h"
#include "style/parser/PropertyHandlers.h"
#include "style/records/StyleRecords.h"

#include <climits>

using namespace qm::css;

namespace {

struct Length
{
    int unit;
    long value;
};

STYLE_TYPE& Cell(ELEMENT_STYLE& style, int box, int side)
{
    if (box == kMargins) {
        switch (side) {
        case kBorderTop: return style.marginTop;
        case kBorderBottom: return style.marginBottom;
        case kBorderLeft: return style.marginLeft;
        default: return style.marginRight;
        }
    }
    switch (side) {
    case kBorderTop: return style.paddingTop;
    case kBorderBottom: return style.paddingBottom;
    case kBorderLeft: return style.paddingLeft;
    default: return style.paddingRight;
    }
}

void SetLength(STYLE_TYPE& cell, const Length& length, bool flag)
{
    SetStyleType(&cell, length.value, length.unit, flag ? 1 : 0, kOriginRule, true, false, false, nullptr);
}

} // namespace

namespace qm::css {

bool ParseBoxSide(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which)
{
    Length length{};
    if (!doc.ParseLengthAndPercentageValue(value, length.unit, length.value, true))
        return false;
    SetLength(Cell(style, which & kBoxMask, which & ~kBoxMask), length, false);
    return true;
}

// One value for all four sides; two: top and bottom, right and left; three:
// top, right and left, bottom; four: top, right, bottom, left.
bool ParseBoxSides(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int box)
{
    Length sides[4];
    auto parse = [&doc](CSafeBuf& word, Length& length) {
        return doc.ParseLengthAndPercentageValue(word, length.unit, length.value, true);
    };
    if (!ParseSideList(value, sides, parse))
        return false;
    for (int side = 0; side < 4; ++side)
        SetLength(Cell(style, box, side), sides[side], false);
    return true;
}

bool ParseTextIndent(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    Length length{};
    if (!doc.ParseLengthAndPercentageValue(value, length.unit, length.value, true))
        return false;
    SetLength(style.textIndent, length, true);
    return true;
}

// "auto" (unit 3) or a length or percentage that is not negative; the slots
// are 16 bits wide and hold no "inherit".
bool ParseBoxSize(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which)
{
    Length length{3, 0};
    if (value != "auto") {
        if (!doc.ParseLengthAndPercentageValue(value, length.unit, length.value, false) || length.value < 0)
            return false;
        if (length.value > SHRT_MAX)
            length.value = SHRT_MAX;
    }
    const auto unit = static_cast<std::int16_t>(length.unit);
    const auto number = static_cast<std::int16_t>(length.value);
    if (which == kBoxWidth) {
        style.widthUnit = unit;
        style.width = number;
        style.widthSet = 1;
        style.widthOrigin = kOriginRule;
    } else {
        style.heightUnit = unit;
        style.height = number;
        style.heightSet = 1;
        style.heightOrigin = kOriginRule;
    }
    return true;
}

} // namespace qm::css
