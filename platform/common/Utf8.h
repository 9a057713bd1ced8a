#pragma once
// One UTF-8 sequence at a time: the single decoder and encoder of the tree,
// and the UTF-16 surrogate arithmetic that goes with them.
// Every conversion (base/text/Utf, URL escapes) reads and writes sequences
// through these two functions, so they share one rule for what a sequence
// is; each caller states only what it does with a value it cannot use.
//
// The rule: a sequence is a lead byte followed by exactly the continuation
// bytes its lead byte announces, in the shortest form for its value, at most
// U+10FFFF. A byte that does not start such a sequence (a stray continuation
// byte, C0, C1, F5-FF, a lead byte followed by too few continuation bytes,
// whether another byte or the end of the input follows, an overlong form or
// a value beyond U+10FFFF) is malformed by itself alone: a decoder steps over
// that one byte and reads on from the next, so a broken sequence never takes
// the text after it along.
//
// Surrogate values (U+D800-U+DFFF, lead ED and A0-BF) have the three-byte
// form of any other value here; whether one is taken is the caller's choice.

#include <cstddef>

namespace qm::utf8 {

constexpr bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// UTF-16 surrogates: a high unit followed by a low unit stands for one
// character above U+FFFF.
constexpr bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
constexpr char32_t FromSurrogates(char32_t high, char32_t low)
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
constexpr char16_t HighSurrogate(char32_t value)
{
    return static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10));
}
constexpr char16_t LowSurrogate(char32_t value) { return static_cast<char16_t>(0xDC00 + (value & 0x3FF)); }

// Decodes the sequence at the start of the n bytes at p: answers its length
// (1-4) and sets value, or answers 0 when the first byte is malformed.
inline int Decode(const unsigned char* p, std::size_t n, char32_t& value)
{
    if (n == 0)
        return 0;
    const unsigned char b = p[0];
    if (b < 0x80) {
        value = b;
        return 1;
    }
    int length;
    char32_t v;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        v = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        v = b & 0x0F;
        if (b == 0xE0)
            low = 0xA0; // shorter forms are overlong
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        v = b & 0x07;
        if (b == 0xF0)
            low = 0x90; // overlong
        else if (b == 0xF4)
            high = 0x8F; // beyond U+10FFFF
    } else {
        return 0;
    }
    if (n < static_cast<std::size_t>(length) || p[1] < low || p[1] > high)
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(p[i]))
            return 0;
        v = (v << 6) | (p[i] & 0x3F);
    }
    value = v;
    return length;
}

// Writes the sequence of value (at most U+10FFFF) to out, which has room for
// four bytes; answers its length.
inline int Encode(char32_t value, unsigned char* out)
{
    if (value < 0x80) {
        out[0] = static_cast<unsigned char>(value);
        return 1;
    }
    if (value < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (value >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (value & 0x3F));
        return 2;
    }
    if (value < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | (value >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((value >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (value & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | (value >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((value >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((value >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (value & 0x3F));
    return 4;
}

} // namespace qm::utf8
