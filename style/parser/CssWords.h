#pragma once
// Text helpers of the CSS property parser: white space, splitting a value
// into words, numbers, keyword tables and copying into the record's fixed
// text fields.

#include "base/text/SafeBuf.h"
#include "style/records/ElementStyle.h"

#include <cstddef>
#include <vector>

namespace qm::css {

bool IsSpace(unsigned short c);

// Splits value at runs of white space that stand outside quotes and
// parentheses, so that "url(a b.png)", "rgb(1, 2, 3)" and a quoted family
// name stay one word each. With joinAfterComma white space right after a ","
// stays in the word, so that a family list "Arial, serif" is one word. Empty
// words are never produced.
std::vector<CSafeBuf> SplitWords(const CSafeBuf& value, bool joinAfterComma = false);

// A decimal number: an optional leading "+" or "-", then digits with at most
// one "." and at least one digit. Very long numbers read as infinity, which
// the callers clamp (ClampToInt).
bool ParseNumber(const unsigned short* text, int length, double& number);

// number truncated towards zero and held within low..high; NaN gives 0.
long ClampToInt(double number, long low, long high);

// One entry of a keyword table; tables end with a null word.
struct Keyword
{
    const char* word;
    int code;
};
// The code of value in table (exactly as written, or without regard to ASCII
// case with anyCase); false when no word fits.
bool FindKeyword(const CSafeBuf& value, const Keyword* table, bool anyCase, int& code);

// Removes one pair of matching quotes (double or single) around text.
void RemoveMatchingQuotes(CSafeBuf& text);

// The text inside "url(" ... ")" (the "url(" in any case; a missing ")" is
// forgiven), trimmed and without one pair of matching quotes. False when
// value does not start with "url(".
bool ParseUrl(const CSafeBuf& value, CSafeBuf& url);

// One to four words of value, each read by parse (a bool (CSafeBuf&, T&)),
// spread over the sides as CSS does: top, right, bottom, left, a missing
// right taking the top's value, a missing bottom the top's and a missing left
// the right's. values is indexed by BorderSide. False, with values
// unspecified, for no word, more than four, or a word parse refuses.
template <typename T, typename Parse>
bool ParseSideList(const CSafeBuf& value, T (&values)[4], Parse parse)
{
    std::vector<CSafeBuf> words = SplitWords(value);
    const std::size_t n = words.size();
    if (n < 1 || n > 4)
        return false;
    T given[4];
    for (std::size_t i = 0; i < n; ++i) {
        if (!parse(words[i], given[i]))
            return false;
    }
    if (n < 2)
        given[1] = given[0];
    if (n < 3)
        given[2] = given[0];
    if (n < 4)
        given[3] = given[1];
    const int order[4] = {kBorderTop, kBorderRight, kBorderBottom, kBorderLeft};
    for (int i = 0; i < 4; ++i)
        values[order[i]] = given[i];
    return true;
}

} // namespace qm::css
