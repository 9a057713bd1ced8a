#pragma once
// ASCII letter case and character classes for the platform modules, which sit
// below the foundation and so cannot use its text helpers. Only A-Z and a-z
// have a case; every other byte (those of UTF-8 sequences included) compares
// as it is, whatever the C locale says.

#include <cstddef>
#include <string_view>

namespace qm::ascii {

constexpr bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAlnum(unsigned char c)
{
    return IsUpper(c) || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
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

// Whether text ends with suffix, letters compared without case.
inline bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace qm::ascii
