// Border properties of the CSS property parser. The border group has one set
// byte and one origin; each side (left, top, right, bottom) has a line style,
// a width with its unit, a colour, a set byte and a colour-set byte.

#include "element/services/XDocServices.h"

#include "style/parser/CssWords.h"
#include "style/parser/PropertyHandlers.h"
#include "style/values/BorderValues.h"
#include "style/values/CssColour.h"

using namespace qm::css;

namespace {

constexpr int kMediumWidth = 3;

struct Width
{
    int value;
    int unit;
};

// "thin" 1, "medium" 3, "thick" 5 (any case) or a length that is not a
// percentage and not negative.
bool ParseWidthWord(CXDocServices& doc, CSafeBuf& word, Width& width)
{
    if (word.CompareNoCase("thin") == 0)
        width = {1, kUnitPixels};
    else if (word.CompareNoCase("medium") == 0)
        width = {kMediumWidth, kUnitPixels};
    else if (word.CompareNoCase("thick") == 0)
        width = {5, kUnitPixels};
    else {
        int unit = 0;
        long number = 0;
        if (!doc.ParseLengthAndPercentageValue(word, unit, number, false) || unit == kUnitPercent
            || number < 0)
            return false;
        width = {static_cast<int>(number), unit};
    }
    return true;
}

void SetWidth(ELEMENT_STYLE& style, int side, const Width& width)
{
    style.border[side].width = width.value;
    style.border[side].unit = width.unit;
    style.border[side].set = 1;
}

void SetColour(ELEMENT_STYLE& style, int side, int colour)
{
    style.border[side].color = colour;
    style.border[side].colorSet = 1;
}

void SetLineStyle(ELEMENT_STYLE& style, int side, int line)
{
    style.border[side].style = line;
    style.border[side].set = 1;
    style.borderSet = 1;
}

bool IsColour(const CSafeBuf& word, int& colour)
{
    colour = GetColor(word, false);
    return colour != kColorInvalid;
}

bool IsLineStyle(const CSafeBuf& word, int& line)
{
    line = GetLineType(word, false);
    return line != kLineNotAStyle;
}

} // namespace

namespace qm::css {

// Words in any order: a colour, a line style or a width. The width (medium
// when none is given) and the side's set byte are always written; the colour
// and the line style (with the group's set byte) only when given.
bool ParseBorderShorthand(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side)
{
    std::vector<CSafeBuf> words = SplitWords(value);
    if (words.empty())
        return false;
    int colour = 0, line = 0, word = 0;
    bool hasColour = false, hasLine = false;
    Width width{kMediumWidth, kUnitPixels};
    for (CSafeBuf& w : words) {
        if (IsColour(w, word)) {
            colour = word;
            hasColour = true;
        } else if (IsLineStyle(w, word)) {
            line = word;
            hasLine = true;
        } else if (!ParseWidthWord(doc, w, width)) {
            return false;
        }
    }
    for (int s = 0; s < 4; ++s) {
        if (side != kAllSides && s != side)
            continue;
        SetWidth(style, s, width);
        if (hasColour)
            SetColour(style, s, colour);
        if (hasLine)
            SetLineStyle(style, s, line);
    }
    style.borderOrigin = kOriginRule;
    return true;
}

bool ParseBorderColor(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int side)
{
    int colours[4];
    if (side == kAllSides) {
        if (!ParseSideList(value, colours, IsColour))
            return false;
        for (int s = 0; s < 4; ++s)
            SetColour(style, s, colours[s]);
        style.borderSet = 1;
    } else {
        if (!IsColour(value, colours[0]))
            return false;
        SetColour(style, side, colours[0]);
    }
    style.borderOrigin = kOriginRule;
    return true;
}

bool ParseBorderStyle(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int side)
{
    int lines[4];
    if (side == kAllSides) {
        if (!ParseSideList(value, lines, IsLineStyle))
            return false;
        for (int s = 0; s < 4; ++s)
            SetLineStyle(style, s, lines[s]);
    } else {
        if (!IsLineStyle(value, lines[0]))
            return false;
        SetLineStyle(style, side, lines[0]);
    }
    style.borderOrigin = kOriginRule;
    return true;
}

bool ParseBorderWidth(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side)
{
    Width widths[4];
    if (side == kAllSides) {
        auto parse = [&doc](CSafeBuf& word, Width& width) { return ParseWidthWord(doc, word, width); };
        if (!ParseSideList(value, widths, parse))
            return false;
        for (int s = 0; s < 4; ++s)
            SetWidth(style, s, widths[s]);
    } else {
        if (!ParseWidthWord(doc, value, widths[0]))
            return false;
        SetWidth(style, side, widths[0]);
    }
    style.borderOrigin = kOriginRule;
    return true;
}

} // namespace qm::css
