// The one-line text of a style record's set slots (see StyleDump.h).

#include "style/records/StyleDump.h"

#include <cstdio>

namespace {

class Writer
{
public:
    Writer(CSafeBuf& out, int options) : m_out(out), m_origins((options & kStyleDumpOrigins) != 0)
    {
        m_out.Empty();
    }

    // Starts a token "name=".
    void Name(const char* name)
    {
        if (!m_out.IsEmpty())
            m_out += ' ';
        m_out += name;
        m_out += '=';
    }
    void Text(const char* text) { m_out += text; }
    void Number(long n) { m_out.AppendInt(n); }

    // n / 100 in decimal, without trailing zeros: 150 "1.5", -25 "-0.25".
    void Hundredths(long n)
    {
        if (n < 0) {
            m_out += '-';
            n = -n;
        }
        m_out.AppendInt(n / 100);
        const long fraction = n % 100;
        if (fraction) {
            m_out += '.';
            m_out += static_cast<unsigned short>('0' + fraction / 10);
            if (fraction % 10)
                m_out += static_cast<unsigned short>('0' + fraction % 10);
        }
    }

    // A length in one of the units 0 pixels, 1 percent, 2 em hundredths.
    void Length(long value, long unit)
    {
        if (unit & kUnitInherit) {
            Text("inherit");
            if (unit == kUnitInherit && value == 0)
                return;
            m_out += ':';
            unit &= 0x7FFFFFFF;
        }
        switch (unit) {
        case kUnitPixels:
            Number(value);
            Text("px");
            break;
        case kUnitPercent:
            Number(value);
            Text("%");
            break;
        case kUnitEm:
            Hundredths(value);
            Text("em");
            break;
        default:
            Number(value);
            Text("(unit ");
            Number(unit);
            Text(")");
            break;
        }
    }

    void Colour(long colour)
    {
        switch (colour) {
        case kColourInvalid: Text("invalid"); return;
        case kColourTransparent: Text("transparent"); return;
        case kColourInherit: Text("inherit"); return;
        }
        if (colour < 0 || colour > 0xFFFFFF) {
            Number(colour);
            return;
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
            static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
        Text(hex);
    }

    // The word of code in a list of {code, word} pairs ending with a null
    // word, else the number.
    struct Word
    {
        long code;
        const char* word;
    };
    void Keyword(long code, const Word* words)
    {
        for (; words->word; ++words) {
            if (words->code == code) {
                Text(words->word);
                return;
            }
        }
        Number(code);
    }

    void Quoted(const unsigned short* text, int room)
    {
        m_out += '"';
        for (int i = 0; i < room && text[i]; ++i) {
            const unsigned short c = text[i];
            if (c == '"' || c == '\\') {
                m_out += '\\';
                m_out += c;
            } else if (c == '\n') {
                Text("\\n");
            } else if (c == '\r') {
                Text("\\r");
            } else if (c == '\t') {
                Text("\\t");
            } else if (c < 0x20) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
                Text(hex);
            } else {
                m_out += c;
            }
        }
        m_out += '"';
    }

    void Origin(int origin)
    {
        if (!m_origins)
            return;
        m_out += '@';
        Number(origin);
    }
    void Mark(const char* mark)
    {
        if (!m_origins)
            return;
        m_out += '@';
        Text(mark);
    }
    bool Empty() const { return m_out.IsEmpty(); }

private:
    CSafeBuf& m_out;
    bool m_origins;
};

using Word = Writer::Word;

const Word kRepeat[] = {{1, "repeat"}, {2, "repeat-x"}, {4, "repeat-y"}, {8, "no-repeat"}, {0, nullptr}};
const Word kDirection[] = {{kDirectionRtl, "rtl"}, {kDirectionLtr, "ltr"}, {0, nullptr}};
const Word kSides[] = {
    {kFloatNone, "none"}, {kFloatLeft, "left"}, {kFloatRight, "right"}, {kFloatBoth, "both"}, {0, nullptr}};
const Word kHAlign[] = {{kAlignLeft, "left"}, {kAlignCenter, "center"}, {kAlignRight, "right"}, {0, nullptr}};
const Word kVAlign[] = {{kAlignTop, "top"}, {kAlignMiddle, "middle"}, {kAlignBottom, "bottom"}, {0, nullptr}};
const Word kLineStyles[] = {{kLineSolid, "solid"}, {kLineDotted, "dotted"}, {kLineDashed, "dashed"},
    {kLineDouble, "double"}, {kLineGroove, "groove"}, {kLineRidge, "ridge"}, {kLineInset, "inset"},
    {kLineWindowInset, "window-inset"}, {kLineOutset, "outset"}, {kLineNone, "none"},
    {kLineInherit, "inherit"}, {kLineHidden, "hidden"}, {0, nullptr}};
const Word kListTypes[] = {{0, "disc"}, {1, "circle"}, {2, "square"}, {3, "decimal"},
    {4, "decimal-leading-zero"}, {5, "lower-roman"}, {6, "upper-roman"}, {7, "lower-greek"},
    {8, "lower-latin"}, {9, "upper-latin"}, {10, "armenian"}, {11, "georgian"}, {12, "lower-alpha"},
    {13, "upper-alpha"}, {14, "none"}, {0, nullptr}};
const Word kListPositions[] = {{1, "inside"}, {2, "outside"}, {0, nullptr}};
const Word kCaptionSides[] = {{1, "top"}, {4, "bottom"}, {0, nullptr}};
const Word kTransforms[] = {{1, "capitalize"}, {2, "uppercase"}, {3, "lowercase"}, {4, "none"}, {0, nullptr}};
const Word kCollapse[] = {{1, "collapse"}, {0, "separate"}, {0, nullptr}};

void LengthCell(Writer& w, const char* name, const STYLE_TYPE& cell)
{
    if (!cell.set)
        return;
    w.Name(name);
    w.Length(cell.value, cell.unit);
    if (cell.important)
        w.Text("!important");
    w.Origin(cell.origin);
}

void KeywordCell(Writer& w, const char* name, const STYLE_TYPE& cell, const Word* words)
{
    if (!cell.set)
        return;
    w.Name(name);
    w.Keyword(cell.value, words);
    if (cell.important)
        w.Text("!important");
    w.Origin(cell.origin);
}

void UntypedMarks(Writer& w, const NewIntStyleValue& cell)
{
    if (cell.inlineStyle)
        w.Mark("inline");
}

void IntCell(Writer& w, const char* name, const NewIntStyleValue& cell, const Word* words)
{
    if (!cell.set)
        return;
    w.Name(name);
    if (cell.inherit)
        w.Text("inherit");
    else if (words)
        w.Keyword(cell.value, words);
    else
        w.Number(cell.value);
    UntypedMarks(w, cell);
}

void ColourCell(Writer& w, const char* name, const NewIntStyleValue& cell)
{
    if (!cell.set)
        return;
    w.Name(name);
    w.Colour(cell.value);
    UntypedMarks(w, cell);
}

void TextCell(Writer& w, const char* name, const NewStringStyleValue& cell, bool emptyIsNone)
{
    if (!cell.set)
        return;
    w.Name(name);
    if (emptyIsNone && !cell.text[0])
        w.Text("none");
    else
        w.Quoted(cell.text, kStyleStringUnits);
    if (cell.inlineStyle)
        w.Mark("inline");
}

// A length whose unit 3 has its own meaning: "auto" for box sizes.
void BoxLength(Writer& w, const char* name, int value, int unit, int origin)
{
    w.Name(name);
    if (unit == 3)
        w.Text("auto");
    else
        w.Length(value, unit);
    w.Origin(origin);
}

void Background(Writer& w, const ELEMENT_STYLE& s)
{
    if (s.bkColorSet) {
        w.Name("background-color");
        w.Colour(s.bkColor);
        w.Origin(s.bkColorOrigin);
    }
    if (!s.bkImageSet)
        return;
    w.Name("background-image");
    if (s.bkImage[0])
        w.Quoted(s.bkImage, kBackgroundImageUnits);
    else
        w.Text("none");
    w.Origin(s.bkImageOrigin);
    if (s.bkRepeat & 0xFF) {
        w.Name("background-repeat");
        w.Keyword(s.bkRepeat & 0xFF, kRepeat);
        w.Origin(s.bkImageOrigin);
    }
    const int flags = s.bkRepeat & 0xFF00;
    if (s.bkPositionX || s.bkPositionY || s.bkPositionKinds || flags) {
        w.Name("background-position");
        w.Length(s.bkPositionX, (s.bkPositionKinds & 0xFF) ? kUnitPixels : kUnitPercent);
        w.Text(",");
        w.Length(s.bkPositionY, (s.bkPositionKinds & 0x100) ? kUnitPixels : kUnitPercent);
        w.Origin(s.bkImageOrigin);
    }
    if (flags) {
        w.Name("background-position-flags");
        const Word kFlags[] = {{0x100, "right"}, {0x200, "bottom"}, {0x400, "hcenter"}, {0x800, "vcenter"}};
        bool first = true;
        for (const Word& f : kFlags) {
            if (flags & f.code) {
                if (!first)
                    w.Text(",");
                w.Text(f.word);
                first = false;
            }
        }
        if (flags & 0xF000) {
            if (!first)
                w.Text(",");
            w.Number(flags & 0xF000);
        }
    }
}

void FontField(Writer& w, const ELEMENT_STYLE& s, std::uint8_t inherited)
{
    if (inherited)
        w.Mark("parent");
    else
        w.Origin(s.fontOrigin);
}

void Font(Writer& w, const ELEMENT_STYLE& s)
{
    bool shown = false;
    if (s.sizeSet) {
        w.Name("font-size");
        w.Length(s.fontSize, s.fontSizeUnit);
        FontField(w, s, s.sizeInherited);
        shown = true;
    }
    if (s.weightSet) {
        w.Name("font-weight");
        w.Number(s.fontWeight);
        FontField(w, s, s.weightInherited);
        shown = true;
    }
    if (s.italicSet) {
        w.Name("font-style");
        w.Text(s.italic ? "italic" : "normal");
        FontField(w, s, s.italicInherited);
        shown = true;
    }
    if (s.underlineSet) {
        w.Name("underline");
        w.Number(s.underline);
        FontField(w, s, s.underlineInherited);
        shown = true;
    }
    if (s.lineThroughSet) {
        w.Name("line-through");
        w.Number(s.lineThrough);
        FontField(w, s, s.lineThroughInherited);
        shown = true;
    }
    if (s.noDecoration) {
        w.Name("no-decoration");
        w.Number(s.noDecoration);
        FontField(w, s, 0);
        shown = true;
    }
    if (s.familySet) {
        w.Name("font-family");
        w.Quoted(s.fontFamily, kFontFamilyUnits);
        FontField(w, s, s.familyInherited);
        w.Name("font-number");
        w.Number(s.fontNumber);
        shown = true;
    }
    if (s.fontSet && !shown) {
        w.Name("font");
        w.Text("set");
        w.Origin(s.fontOrigin);
    }
}

void Borders(Writer& w, const ELEMENT_STYLE& s)
{
    if (s.borderSet) {
        w.Name("border");
        w.Text("set");
        w.Origin(s.borderOrigin);
    }
    if (s.borderFromAttribute) {
        w.Name("border-attribute");
        w.Number(s.borderFromAttribute);
    }
    static const char* const kNames[4][3] = {
        {"border-left-width", "border-left-style", "border-left-color"},
        {"border-top-width", "border-top-style", "border-top-color"},
        {"border-right-width", "border-right-style", "border-right-color"},
        {"border-bottom-width", "border-bottom-style", "border-bottom-color"},
    };
    for (int i = 0; i < 4; ++i) {
        const BORDER_SIDE& side = s.border[i];
        if (side.set) {
            w.Name(kNames[i][0]);
            w.Length(side.width, side.unit);
            w.Origin(s.borderOrigin);
            if (side.style) {
                w.Name(kNames[i][1]);
                w.Keyword(side.style, kLineStyles);
                w.Origin(s.borderOrigin);
            }
        }
        if (side.colorSet) {
            w.Name(kNames[i][2]);
            w.Colour(side.color);
            w.Origin(s.borderOrigin);
        }
    }
}

void LineHeight(Writer& w, const NewIntStyleValue& cell)
{
    if (!cell.set)
        return;
    w.Name("line-height");
    if (cell.inherit) {
        w.Text("inherit");
    } else {
        const std::uint32_t packed = static_cast<std::uint32_t>(cell.value);
        const int unit = static_cast<int>(packed >> 16);
        const int number = static_cast<std::int16_t>(packed & 0xFFFF);
        if (unit == kUnitFontHundredths)
            w.Hundredths(number);
        else
            w.Length(number, unit);
    }
    UntypedMarks(w, cell);
}

} // namespace

void DumpStyle(const ELEMENT_STYLE& s, CSafeBuf& out, int options)
{
    Writer w(out, options);
    Background(w, s);
    LengthCell(w, "text-indent", s.textIndent);
    KeywordCell(w, "direction", s.direction, kDirection);
    if (s.rtl) {
        w.Name("rtl-flag");
        w.Number(s.rtl);
    }
    LengthCell(w, "margin-top", s.marginTop);
    LengthCell(w, "margin-bottom", s.marginBottom);
    LengthCell(w, "margin-left", s.marginLeft);
    LengthCell(w, "margin-right", s.marginRight);
    Font(w, s);
    if (s.colorSet) {
        w.Name("color");
        w.Colour(s.color);
        w.Origin(s.colorOrigin);
    }
    if (s.hAlignSet) {
        w.Name("text-align");
        w.Keyword(s.align & kAlignHorizontalMask, kHAlign);
        w.Origin(s.hAlignOrigin);
    }
    if (s.vAlignSet) {
        w.Name("vertical-align");
        w.Keyword(s.align & kAlignVerticalMask, kVAlign);
        w.Origin(s.vAlignOrigin);
    }
    KeywordCell(w, "float", s.floatSide, kSides);
    KeywordCell(w, "clear", s.clear, kSides);
    if (s.colSpan) {
        w.Name("colspan");
        w.Number(s.colSpan);
    }
    if (s.rowSpan) {
        w.Name("rowspan");
        w.Number(s.rowSpan);
    }
    Borders(w, s);
    if (s.cellSpacingSet) {
        w.Name("cellspacing");
        w.Number(s.cellSpacing);
    }
    LengthCell(w, "padding-top", s.paddingTop);
    LengthCell(w, "padding-bottom", s.paddingBottom);
    LengthCell(w, "padding-left", s.paddingLeft);
    LengthCell(w, "padding-right", s.paddingRight);
    if (s.widthSet)
        BoxLength(w, "width", s.width, s.widthUnit, s.widthOrigin);
    if (s.heightSet)
        BoxLength(w, "height", s.height, s.heightUnit, s.heightOrigin);
    IntCell(w, "list-style-type", s.listType, kListTypes);
    IntCell(w, "list-style-position", s.listPosition, kListPositions);
    TextCell(w, "list-style-image", s.listImage, true);
    IntCell(w, "-qm-lock", s.lock, nullptr);
    ColourCell(w, "-qm-marker-color", s.markerColor);
    ColourCell(w, "-qm-marker-background-color", s.markerBackgroundColor);
    ColourCell(w, "-qm-marker-border-color", s.markerBorderColor);
    TextCell(w, "-qm-marker-label", s.markerLabel, false);
    IntCell(w, "caption-side", s.captionSide, kCaptionSides);
    LineHeight(w, s.lineHeight);
    IntCell(w, "text-transform", s.textTransform, kTransforms);
    IntCell(w, "border-collapse", s.borderCollapse, kCollapse);
}
