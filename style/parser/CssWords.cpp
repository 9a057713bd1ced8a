// Text helpers of the CSS property parser.

#include "style/parser/CssWords.h"

#include "base/text/Ascii.h"

#include <cmath>

namespace qm::css {

bool IsSpace(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::vector<CSafeBuf> SplitWords(const CSafeBuf& value, bool joinAfterComma)
{
    std::vector<CSafeBuf> words;
    const unsigned short* text = value;
    const int length = value.Length();
    CSafeBuf word;
    unsigned short quote = 0;
    int depth = 0;
    for (int i = 0; i < length; ++i) {
        const unsigned short c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth > 0)
                --depth;
        } else if (IsSpace(c) && depth == 0) {
            if (joinAfterComma && !word.IsEmpty() && word.GetAt(word.Length() - 1) == ',') {
                word += c;
                continue;
            }
            if (!word.IsEmpty()) {
                words.push_back(word);
                word.Empty();
            }
            continue;
        }
        word += c;
    }
    if (!word.IsEmpty())
        words.push_back(word);
    return words;
}

bool ParseNumber(const unsigned short* text, int length, double& number)
{
    int i = 0;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    double whole = 0, scale = 1;
    bool digits = false, point = false;
    for (; i < length; ++i) {
        const unsigned short c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (IsAsciiDigit(c)) {
            digits = true;
            if (point) {
                scale /= 10;
                whole += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    number = negative ? -whole : whole;
    return true;
}

long ClampToInt(double number, long low, long high)
{
    if (std::isnan(number))
        return 0;
    if (number <= static_cast<double>(low))
        return low;
    if (number >= static_cast<double>(high))
        return high;
    return static_cast<long>(number);
}

bool FindKeyword(const CSafeBuf& value, const Keyword* table, bool anyCase, int& code)
{
    for (; table->word; ++table) {
        if (anyCase ? value.CompareNoCase(table->word) == 0 : value == table->word) {
            code = table->code;
            return true;
        }
    }
    return false;
}

void RemoveMatchingQuotes(CSafeBuf& text)
{
    const int n = text.Length();
    if (n >= 2 && (text.GetAt(0) == '"' || text.GetAt(0) == '\'') && text.GetAt(n - 1) == text.GetAt(0)) {
        text.CutAt(n - 1);
        text.Delete(0);
    }
}

bool ParseUrl(const CSafeBuf& value, CSafeBuf& url)
{
    if (value.Length() < 4 || value.Left(4).CompareNoCase("url(") != 0)
        return false;
    int end = value.Length();
    if (value.GetAt(end - 1) == ')')
        --end;
    url = value.Mid(4, end - 4);
    url.Trim();
    RemoveMatchingQuotes(url);
    return true;
}

} // namespace qm::css
