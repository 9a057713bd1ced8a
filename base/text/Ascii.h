#pragma once
// ASCII character classes and letter case, for 8-bit and UTF-16 text alike.
// A unit is taken by its value: a byte above 127, a sign-extended byte and a
// UTF-16 unit outside ASCII are never letters or digits. Only A-Z and a-z
// have a case; every other unit (the bytes of UTF-8 sequences included)
// compares as it is.

#include <cstddef>
#include <string_view>

constexpr bool IsAsciiUpper(unsigned int c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAsciiLower(unsigned int c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsAsciiLetter(unsigned int c) { return IsAsciiUpper(c) || IsAsciiLower(c); }
constexpr bool IsAsciiDigit(unsigned int c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiAlnum(unsigned int c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }
constexpr bool IsAsciiHexDigit(unsigned int c)
{
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

constexpr char LowerAscii(char c)
{
    return IsAsciiUpper(static_cast<unsigned char>(c)) ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether a and b are the same text, ASCII letters compared without case.
inline bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// Whether text begins with prefix, ASCII letters compared without case.
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

// Whether text ends with suffix, ASCII letters compared without case.
inline bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}
