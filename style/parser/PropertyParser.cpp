// CXDoc::ParseCSSStyleString: one declaration into the slots of a style
// record. The property name, lower-cased, selects a handler from the table
// below; the value is handed over trimmed of white space. The same parser
// serves style-sheet rules and style attributes; the slots it writes carry
// origin 3, which the cascade restamps when it merges the record.
//
// A value may end in "!important". The flag is taken off before the handler
// reads the value, and the cells with an important mark (STYLE_TYPE) that
// the declaration writes are marked; a later declaration of the same record
// that is not important leaves a marked cell as it is. Groups without such a
// mark take an important value as any other.

#include "element/services/XDocServices.h"

#include "style/parser/CssWords.h"
#include "style/parser/PropertyHandlers.h"

#include <algorithm>
#include <iterator>

using namespace qm::css;

namespace {

const char* const kFontMembers[] = {"font-size", "font-style", "font-weight", "font-variant", "font-family"};
const char* const kBackgroundMembers[]
    = {"background-image", "background-repeat", "background-color", "background-position"};

bool FontMember(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which)
{
    return doc.CheckFontValue(style, value, kFontMembers[which]);
}

bool BackgroundMember(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which)
{
    return doc.CheckBackgroundValue(&style, value, kBackgroundMembers[which]);
}

bool ListType(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    return doc.ParseListType(&style, value, "list-style-type");
}

bool ListImage(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    return doc.ParseListImage(&style, value, "list-style-image");
}

bool ListPosition(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    return doc.ParseListPosition(&style, value, "list-style-position");
}

struct Property
{
    const char* name;
    PropertyHandler handler;
    int which;
};

const Property kProperties[] = {
    {"-qm-lock", ParseLock, 0},
    {"-qm-marker-label", ParseMarkerLabel, 0},
    {"-qm-marker-color", ParseMarkerColour, kMarkerText},
    {"-qm-marker-border-color", ParseMarkerColour, kMarkerBorder},
    {"-qm-marker-background-color", ParseMarkerColour, kMarkerBackground},
    {"list-style", ParseListStyleShorthand, 0},
    {"list-style-type", ListType, 0},
    {"list-style-image", ListImage, 0},
    {"list-style-position", ListPosition, 0},
    {"font-size", FontMember, 0},
    {"font-style", FontMember, 1},
    {"font-weight", FontMember, 2},
    {"font-variant", FontMember, 3},
    {"font-family", FontMember, 4},
    {"font", ParseFontShorthand, 0},
    {"direction", ParseDirection, 0},
    {"text-decoration", ParseTextDecoration, 0},
    {"caption-side", ParseCaptionSide, 0},
    {"line-height", ParseLineHeightProperty, 0},
    {"text-transform", ParseTextTransform, 0},
    {"background-image", BackgroundMember, 0},
    {"background-repeat", BackgroundMember, 1},
    {"background-color", BackgroundMember, 2},
    {"background-position", BackgroundMember, 3},
    {"background", ParseBackgroundShorthand, 0},
    {"border", ParseBorderShorthand, kAllSides},
    {"border-left", ParseBorderShorthand, kBorderLeft},
    {"border-top", ParseBorderShorthand, kBorderTop},
    {"border-right", ParseBorderShorthand, kBorderRight},
    {"border-bottom", ParseBorderShorthand, kBorderBottom},
    {"border-left-color", ParseBorderColor, kBorderLeft},
    {"border-top-color", ParseBorderColor, kBorderTop},
    {"border-right-color", ParseBorderColor, kBorderRight},
    {"border-bottom-color", ParseBorderColor, kBorderBottom},
    {"border-color", ParseBorderColor, kAllSides},
    {"border-left-style", ParseBorderStyle, kBorderLeft},
    {"border-top-style", ParseBorderStyle, kBorderTop},
    {"border-right-style", ParseBorderStyle, kBorderRight},
    {"border-bottom-style", ParseBorderStyle, kBorderBottom},
    {"border-style", ParseBorderStyle, kAllSides},
    {"border-left-width", ParseBorderWidth, kBorderLeft},
    {"border-top-width", ParseBorderWidth, kBorderTop},
    {"border-right-width", ParseBorderWidth, kBorderRight},
    {"border-bottom-width", ParseBorderWidth, kBorderBottom},
    {"border-width", ParseBorderWidth, kAllSides},
    {"width", ParseBoxSize, kBoxWidth},
    {"height", ParseBoxSize, kBoxHeight},
    {"text-align", ParseTextAlign, 0},
    {"vertical-align", ParseVerticalAlign, 0},
    {"float", ParseFloat, 0},
    {"clear", ParseClear, 0},
    {"text-indent", ParseTextIndent, 0},
    {"margin-top", ParseBoxSide, kMargins | kBorderTop},
    {"margin-bottom", ParseBoxSide, kMargins | kBorderBottom},
    {"margin-left", ParseBoxSide, kMargins | kBorderLeft},
    {"margin-right", ParseBoxSide, kMargins | kBorderRight},
    {"margin", ParseBoxSides, kMargins},
    {"border-collapse", ParseBorderCollapse, 0},
    {"padding", ParseBoxSides, kPaddings},
    {"padding-top", ParseBoxSide, kPaddings | kBorderTop},
    {"padding-bottom", ParseBoxSide, kPaddings | kBorderBottom},
    {"padding-left", ParseBoxSide, kPaddings | kBorderLeft},
    {"padding-right", ParseBoxSide, kPaddings | kBorderRight},
    {"color", ParseTextColour, 0},
};

// Cuts a final "!important" ("!", white space, "important" in any case) off
// value, and trims what is left; answers whether there was one.
bool TakeImportant(CSafeBuf& value)
{
    static const char kWord[] = "important";
    const int word = static_cast<int>(sizeof kWord) - 1;
    const int n = value.Length();
    if (n <= word || value.Mid(n - word, word).CompareNoCase(kWord) != 0)
        return false;
    int bang = n - word - 1;
    while (bang >= 0 && IsSpace(value.GetAt(bang)))
        --bang;
    if (bang < 0 || value.GetAt(bang) != '!')
        return false;
    value = value.Left(bang);
    value.Trim();
    return true;
}

// The cells of a record that carry an important mark.
constexpr int kMarkedCells = 12;

void MarkedCells(ELEMENT_STYLE& s, STYLE_TYPE* (&cells)[kMarkedCells])
{
    STYLE_TYPE* all[kMarkedCells]
        = {&s.textIndent, &s.direction, &s.marginTop, &s.marginBottom, &s.marginLeft, &s.marginRight,
            &s.floatSide, &s.clear, &s.paddingTop, &s.paddingBottom, &s.paddingLeft, &s.paddingRight};
    std::copy(std::begin(all), std::end(all), cells);
}

// Runs the handler so that the marked cells it writes take the declaration's
// importance, and a declaration that is not important keeps off the cells
// that an earlier one marked. A cell is known to be written when its set
// byte, cleared before the handler runs, is on again after it.
bool ParseMarked(CXDocServices& doc, const Property& p, ELEMENT_STYLE& style, CSafeBuf& value, bool important)
{
    STYLE_TYPE* cells[kMarkedCells];
    MarkedCells(style, cells);
    bool marked = false;
    for (const STYLE_TYPE* cell : cells)
        marked = marked || (cell->set && cell->important);
    if (!important && !marked)
        return p.handler(doc, style, value, p.which);
    STYLE_TYPE before[kMarkedCells];
    for (int i = 0; i < kMarkedCells; ++i) {
        before[i] = *cells[i];
        cells[i]->set = false;
    }
    const bool understood = p.handler(doc, style, value, p.which);
    for (int i = 0; i < kMarkedCells; ++i) {
        const bool keep = !cells[i]->set || (before[i].set && before[i].important && !important);
        if (keep)
            *cells[i] = before[i];
        else
            cells[i]->important = important;
    }
    return understood;
}

} // namespace

bool CXDocServices::ParseCSSStyleString(
    const unsigned short* name, const unsigned short* value, ELEMENT_STYLE& style)
{
    if (!name || !value)
        return false;
    CSafeBuf property(name);
    property.Trim();
    property.MakeLower();
    for (const Property& p : kProperties) {
        if (property == p.name) {
            CSafeBuf text(value);
            text.Trim();
            const bool important = TakeImportant(text);
            return ParseMarked(*this, p, style, text, important);
        }
    }
    return false;
}
