#include "style/values/BorderValues.h"

#include "base/text/Ascii.h"
#include "base/text/SafeBuf.h"
#include "style/values/ScreenResolution.h"

namespace {

struct LineWord
{
    const char* word;
    int code;
};

// In the order the search form tries them: "window-inset" before "inset".
constexpr LineWord kLineWords[] = {{"dashed", kLineDashed}, {"dotted", kLineDotted}, {"solid", kLineSolid},
    {"double", kLineDouble}, {"groove", kLineGroove}, {"ridge", kLineRidge},
    {"window-inset", kLineWindowInset}, {"inset", kLineInset}, {"outset", kLineOutset}, {"none", kLineNone},
    {"hidden", kLineHidden}, {"inherit", kLineInherit}};

constexpr int kMaxWidthDigits = 4;

} // namespace

int GetLineType(const unsigned short* text, bool search)
{
    if (!text)
        return kLineNotAStyle;
    CSafeBuf lowered(text);
    lowered.MakeLower();
    for (const LineWord& w : kLineWords) {
        if (search ? lowered.Find(w.word) >= 0 : lowered == w.word)
            return w.code;
    }
    return kLineNotAStyle;
}

int GetWidth(const unsigned short* text, bool)
{
    if (!text)
        return -1;
    CSafeBuf lowered(text);
    lowered.MakeLower();
    if (lowered.Find("thin") >= 0)
        return 1;
    if (lowered.Find("medium") >= 0)
        return 3;
    if (lowered.Find("thick") >= 0)
        return 5;

    int i = 0;
    while (i < lowered.Length() && !IsAsciiDigit(lowered.GetAt(i)))
        ++i;
    if (i == lowered.Length())
        return -1;
    int value = 0;
    for (int digits = 0; digits < kMaxWidthDigits && IsAsciiDigit(lowered.GetAt(i)); ++digits, ++i)
        value = value * 10 + (lowered.GetAt(i) - '0');

    int end = i;
    while (end < lowered.Length()) {
        const unsigned short c = lowered.GetAt(end);
        if (c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
            break;
        ++end;
    }
    if (lowered.Mid(i, end - i) == "pt")
        value = value * kScreenPixelsPerInch / 72;
    return value;
}
