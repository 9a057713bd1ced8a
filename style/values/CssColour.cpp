// Colour values: special words, table names, hex forms and rgb(), tried in
// that order on a lower-cased copy of the value.

#include "style/values/CssColour.h"

#include "base/geometry/Colour.h"
#include "base/text/Ascii.h"
#include "base/text/SafeBuf.h"
#include "style/values/ColourTable.h"
#include "style/values/HexValue.h"

namespace {

constexpr int kMaxRgbPart = 7; // characters in one rgb() part

bool IsSpace(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int Packed(unsigned int rrggbb)
{
    return static_cast<int>(RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF));
}

int Length(const char* s)
{
    int n = 0;
    while (s[n])
        ++n;
    return n;
}

// Whether name stands in text as a word: preceded by the start or a
// character at or below the space, followed by the end or such a character.
bool HasWord(const CSafeBuf& text, const char* name)
{
    const int n = Length(name);
    for (int at = text.Find(name); at >= 0; at = text.Find(name, at + 1)) {
        const bool startOk = at == 0 || text.GetAt(at - 1) <= ' ';
        const bool endOk = at + n == text.Length() || text.GetAt(at + n) <= ' ';
        if (startOk && endOk)
            return true;
    }
    return false;
}

int FromTable(const CSafeBuf& text, bool search)
{
    for (int i = 0; i < kColorTableSize; ++i) {
        if (search ? HasWord(text, ColorTableName[i]) : text == ColorTableName[i])
            return Packed(ColorTableValue[i]);
    }
    return kColorInvalid;
}

// Three or six hex digits (and nothing else) as a packed colour.
int FromHexDigits(const CSafeBuf& digits)
{
    const int n = digits.Length();
    if (n != 3 && n != 6)
        return kColorInvalid;
    for (int i = 0; i < n; ++i) {
        if (!IsAsciiHexDigit(digits.GetAt(i)))
            return kColorInvalid;
    }
    const unsigned int value = static_cast<unsigned int>(HexDec(digits));
    if (n == 6)
        return Packed(value);
    // Each of the three digits stands for itself twice: 0xN * 17 = 0xNN.
    return static_cast<int>(RGB(((value >> 8) & 0xF) * 17, ((value >> 4) & 0xF) * 17, (value & 0xF) * 17));
}

int FromHex(const CSafeBuf& text, bool search)
{
    if (!search) {
        if (text.GetAt(0) != '#' || (text.Length() != 4 && text.Length() != 7))
            return kColorInvalid;
        return FromHexDigits(text.Mid(1, text.Length() - 1));
    }
    const int hash = text.Find('#');
    if (hash < 0)
        return kColorInvalid;
    return FromHexDigits(text.Mid(hash + 1, text.Length() - hash - 1));
}

// One rgb() part: a number with an optional leading "-" and at most one
// ".", optionally followed by "%" (percent then says which). Answers false
// for anything else.
bool RgbPart(const CSafeBuf& part, int& component, bool& percent)
{
    int n = part.Length();
    if (n < 1 || n > kMaxRgbPart)
        return false;
    percent = part.GetAt(n - 1) == '%';
    if (percent)
        --n;
    int i = 0;
    const bool negative = part.GetAt(0) == '-';
    if (negative)
        ++i;
    double value = 0, scale = 0; // scale: the place value of the next fraction digit, 0 before the "."
    int digits = 0;
    for (; i < n; ++i) {
        const unsigned short c = part.GetAt(i);
        if (c == '.' && scale == 0) {
            scale = 0.1;
        } else if (IsAsciiDigit(c)) {
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                value += (c - '0') * scale;
                scale /= 10;
            }
            ++digits;
        } else {
            return false;
        }
    }
    if (digits == 0)
        return false;
    if (negative)
        value = -value;
    if (percent)
        value = value * 255 / 100;
    component = value <= 0 ? 0 : value >= 255 ? 255 : static_cast<int>(value);
    return true;
}

int FromRgb(const CSafeBuf& lowered, bool search)
{
    CSafeBuf text;
    int open = 0;
    if (search) {
        text = lowered;
        open = text.Find("rgb(");
        if (open < 0)
            return kColorInvalid;
    } else {
        for (int i = 0; i < lowered.Length(); ++i) {
            if (!IsSpace(lowered.GetAt(i)))
                text += lowered.GetAt(i);
        }
        if (text.Find("rgb(") != 0)
            return kColorInvalid;
    }
    const int begin = open + 4;
    const int close = text.Find(')', begin);
    if (close < 0 || (!search && close != text.Length() - 1))
        return kColorInvalid;

    int component[3] = {0, 0, 0};
    bool percent[3] = {false, false, false};
    int count = 0, at = begin;
    while (count < 3 && at <= close) {
        int end = text.Find(',', at);
        if (end < 0 || end > close)
            end = close;
        CSafeBuf part = text.Mid(at, end - at);
        if (search) {
            part.Trim();
            for (int i = 0; i < part.Length(); ++i) {
                if (IsSpace(part.GetAt(i)))
                    return kColorInvalid;
            }
        }
        if (!RgbPart(part, component[count], percent[count]))
            return kColorInvalid;
        // The three parts are all numbers or all percentages.
        if (percent[count] != percent[0])
            return kColorInvalid;
        ++count;
        at = end + 1;
    }
    // Three parts, and in the whole-value form the third must end at ")".
    if (count < 3 || (!search && at <= close))
        return kColorInvalid;
    return static_cast<int>(RGB(component[0], component[1], component[2]));
}

} // namespace

int GetColor(const unsigned short* value, bool search)
{
    if (!value)
        return kColorInvalid;
    CSafeBuf text(value);
    text.MakeLower();

    if (search ? text.Find("transparent") >= 0 : text == "transparent")
        return kColorTransparent;
    if (search ? text.Find("inherit") >= 0 : text == "inherit")
        return kColorInherit;
    int colour = FromTable(text, search);
    if (colour == kColorInvalid)
        colour = FromHex(text, search);
    if (colour == kColorInvalid)
        colour = FromRgb(text, search);
    return colour;
}
