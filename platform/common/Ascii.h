#pragma once
// ASCII character classes and letter case: the one definition for the whole
// tree (base/text/Ascii.h gives the foundation's names for the same tests).
// A unit is taken by its value, so a byte and a UTF-16 unit are tested
// alike: a byte above 127, a sign-extended byte and a unit outside ASCII are
// never letters or digits. Only A-Z and a-z have a case; every other unit
// (the bytes of UTF-8 sequences included) compares as it is, whatever the C
// locale says.

#include <cstddef>
#include <string_view>

namespace qm::ascii {

constexpr bool IsUpper(unsigned int c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsLower(unsigned int c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsLetter(unsigned int c) { return IsUpper(c) || IsLower(c); }
constexpr bool IsDigit(unsigned int c) { return c >= '0' && c <= '9'; }
constexpr bool IsAlnum(unsigned int c) { return IsLetter(c) || IsDigit(c); }
constexpr bool IsHexDigit(unsigned int c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

constexpr char Lower(char c)
{
    return IsUpper(static_cast<unsigned char>(c)) ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether a and b are the same text, letters compared without case.
inline bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// Whether text begins with prefix, letters compared without case.
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

// Whether text ends with suffix, letters compared without case.
inline bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace qm::ascii
