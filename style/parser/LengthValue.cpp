// Lengths, percentages and font sizes of the CSS property parser.
//
// The first unit found in the order "%", "em", "px", "pt", "pc", "in", "mm",
// "cm" decides, and it must end the value; the number before it is read as a
// double and clamped into a 32-bit value, so no text, however long, gives a
// result outside the range of the slots' numbers.

#include "element/services/XDocServices.h"

#include "base/text/U16.h"
#include "style/parser/CssWords.h"
#include "style/records/FontDefaults.h"
#include "style/records/StyleType.h"

#include <climits>

using namespace qm::css;

namespace {

struct UnitRule
{
    const char* text;
    int unit;
    double times; // the stored value is number x times / over
    double over;
};

const UnitRule kUnits[] = {
    {"%", kUnitPercent, 1, 1},
    {"em", kUnitEm, 100, 1},
    {"px", kUnitPixels, 1, 1},
    {"pt", kUnitPixels, kScreenPixelsPerInch, 72},
    {"pc", kUnitPixels, 12 * kScreenPixelsPerInch, 72},
    {"in", kUnitPixels, kScreenPixelsPerInch, 1},
    {"mm", kUnitPixels, kScreenPixelsPerInch, 25.4},
    {"cm", kUnitPixels, kScreenPixelsPerInch, 2.54},
};

// Font size keywords, in hundredths of the base font size.
const Keyword kSizeWords[] = {{"xx-small", 57}, {"x-small", 69}, {"small", 83}, {"medium", 100},
    {"large", 120}, {"x-large", 144}, {"xx-large", 172}, {nullptr, 0}};

} // namespace

bool CXDocServices::ParseLengthAndPercentageValue(
    CSafeBuf& value, int& unit, long& number, bool acceptInherit)
{
    if (value == "inherit") {
        if (!acceptInherit)
            return false;
        unit = kUnitInherit;
        number = 0;
        return true;
    }
    // A zero needs no unit, whatever its sign or fraction: "0", "-0", "+0.0".
    double zero = 0;
    if (ParseNumber(value, value.Length(), zero) && zero == 0) {
        unit = kUnitPixels;
        number = 0;
        return true;
    }
    for (const UnitRule& rule : kUnits) {
        const int at = value.Find(rule.text);
        if (at < 0)
            continue;
        if (at + static_cast<int>(U16len(rule.text)) != value.Length())
            return false;
        double n = 0;
        if (!ParseNumber(value, at, n))
            return false;
        unit = rule.unit;
        number = ClampToInt(n * rule.times / rule.over, INT_MIN + 1, INT_MAX);
        return true;
    }
    return false;
}

bool CXDocServices::ParseFontSizeValue(ELEMENT_STYLE* style, CSafeBuf& value)
{
    if (!style)
        return false;
    int size = 0, unit = kUnitPixels;
    long number = 0;
    int hundredths = 0;
    if (FindKeyword(value, kSizeWords, false, hundredths)) {
        size = kBaseFontSize * hundredths / 100;
    } else if (value == "larger" || value == "smaller") {
        unit = kUnitPercent;
        size = value == "larger" ? 120 : 83;
    } else if (ParseLengthAndPercentageValue(value, unit, number, false) && number >= 0) {
        // The size slot is 16 bits wide.
        size = static_cast<int>(number > SHRT_MAX ? SHRT_MAX : number);
    } else {
        return false;
    }
    style->fontSize = static_cast<std::int16_t>(size);
    style->fontSizeUnit = static_cast<std::int16_t>(unit);
    style->sizeSet = 1;
    style->sizeInherited = 0;
    style->fontSet = 1;
    style->fontOrigin = kOriginRule;
    return true;
}
