#pragma once
// Finding the end of a DOCTYPE declaration in markup that has not been
// parsed yet, for the code that prepares markup for the parser. Works on
// bytes and on UTF-16 units alike.

#include <cstddef>
#include <type_traits>

// i is at "<!DOCTYPE": answers one past its closing ">" (n when there is
// none). Quoted literals are passed over whole, and so is an internal subset
// in brackets; hasSubset (when given) tells whether there was one.
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
