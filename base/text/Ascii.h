#pragma once
// ASCII character classes and letter case, for 8-bit and UTF-16 text alike,
// under the foundation's names. The tests themselves are platform/common's
// (one definition for the tree): a unit is taken by its value, so a byte
// above 127, a sign-extended byte and a UTF-16 unit outside ASCII are never
// letters or digits. Only A-Z and a-z have a case; every other unit (the
// bytes of UTF-8 sequences included) compares as it is.

#include "platform/common/Ascii.h"

constexpr bool IsAsciiUpper(unsigned int c) { return qm::ascii::IsUpper(c); }
constexpr bool IsAsciiLower(unsigned int c) { return qm::ascii::IsLower(c); }
constexpr bool IsAsciiLetter(unsigned int c) { return qm::ascii::IsLetter(c); }
constexpr bool IsAsciiDigit(unsigned int c) { return qm::ascii::IsDigit(c); }
constexpr bool IsAsciiAlnum(unsigned int c) { return qm::ascii::IsAlnum(c); }
constexpr bool IsAsciiHexDigit(unsigned int c) { return qm::ascii::IsHexDigit(c); }
constexpr char LowerAscii(char c) { return qm::ascii::Lower(c); }

// Whether a and b are the same text, ASCII letters compared without case;
// whether text begins or ends with the other, likewise.
using qm::ascii::EndsWithNoCase;
using qm::ascii::EqualNoCase;
using qm::ascii::StartsWithNoCase;
