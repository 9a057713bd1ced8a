#pragma once
// Finding the end of a DOCTYPE declaration in markup that has not been
// parsed yet, for the code that prepares markup for the parser. Works on
// bytes and on UTF-16 units alike.

#include "base/text/UnitScan.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace qm::markup {

template <class Unit>
bool At(const Unit* s, size_t n, size_t j, const char* word)
{
    for (size_t k = 0; word[k]; ++k) {
        if (j + k >= n
            || static_cast<std::make_unsigned_t<Unit>>(s[j + k]) != static_cast<unsigned char>(word[k]))
            return false;
    }
    return true;
}

// j is at the opening of a comment or processing instruction ("<!--", "<?")
// whose closing is close: answers the offset of the closing's last unit (n
// when it is missing).
template <class Unit>
size_t SkipTo(const Unit* s, size_t n, size_t j, size_t open, const char* close)
{
    size_t closeLength = 0;
    while (close[closeLength])
        ++closeLength;
    for (j += open; j < n; ++j) {
        if (At(s, n, j, close))
            return j + closeLength - 1;
    }
    return n;
}

using qm::text::NextUnit;

// Whether the n units at s hold word (ASCII, not empty) anywhere.
inline bool HoldsWord(const unsigned short* s, size_t n, const char* word)
{
    const unsigned short first = static_cast<unsigned char>(word[0]);
    for (size_t i = NextUnit(s, 0, n, first); i < n; i = NextUnit(s, i + 1, n, first)) {
        if (At(s, n, i, word))
            return true;
    }
    return false;
}

} // namespace qm::markup

// i is at "<!DOCTYPE": answers one past its closing ">" (n when there is
// none). Quoted literals are passed over whole, and so is an internal subset
// in brackets, with the comments and processing instructions in it (whose
// quotes and brackets are text); hasSubset (when given) tells whether there
// was one.
template <class Unit>
size_t DoctypeEnd(const Unit* s, size_t n, size_t i, bool* hasSubset = nullptr)
{
    bool inSubset = false;
    unsigned quote = 0;
    if (hasSubset)
        *hasSubset = false;
    for (size_t j = i + 9; j < n; ++j) {
        const unsigned c = static_cast<std::make_unsigned_t<Unit>>(s[j]);
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (inSubset && qm::markup::At(s, n, j, "<!--")) {
            j = qm::markup::SkipTo(s, n, j, 4, "-->");
        } else if (inSubset && qm::markup::At(s, n, j, "<?")) {
            j = qm::markup::SkipTo(s, n, j, 2, "?>");
        } else if (c == '[') {
            inSubset = true;
            if (hasSubset)
                *hasSubset = true;
        } else if (c == ']') {
            inSubset = false;
        } else if (c == '>' && !inSubset) {
            return j + 1;
        }
    }
    return n;
}
