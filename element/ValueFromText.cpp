// Numbers and lengths from attribute text, and class-list tests.

#include "element/ValueFromText.h"

#include "base/text/U16.h"

#include <climits>
#include <cmath>

namespace {

int ClampToInt(long long v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }

int ClampToInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    return v >= INT_MAX ? INT_MAX : v <= INT_MIN ? INT_MIN : static_cast<int>(v);
}

bool IsSeparator(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

bool GetIntValueType(CSafeBuf& text, int& unit, int& value)
{
    const long long n = ClampToInt(static_cast<long long>(U16toi(text)));
    unit = 0;
    value = static_cast<int>(n);
    if (text.Find(static_cast<unsigned short>('%')) >= 0) {
        unit = 1;
    } else if (text.Find("em") >= 0) {
        unit = 2;
        value = ClampToInt(std::trunc(utof(text) * 100.0));
    } else if (text.Find("pt") >= 0) {
        value = ClampToInt((n + n * 1332 + 500) / 1000);
    }
    return true;
}

double utof(const unsigned short* text) { return text ? u2f(text) : 0.0; }

bool IsStringContainedIn(const unsigned short* list, const unsigned short* word, bool whole)
{
    if (!list || !word || !*list || !*word)
        return false;
    const int length = U16len(word);
    // Every occurrence counts: "note" is found in "anote note".
    for (const unsigned short* at = U16str(list, word); at; at = U16str(at + 1, word)) {
        const bool startsItem = at == list || IsSeparator(at[-1]);
        const bool endsItem = at[length] == 0 || IsSeparator(at[length]);
        if (startsItem && (!whole || endsItem))
            return true;
    }
    return false;
}
