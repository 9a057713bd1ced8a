#pragma once
// Helpers shared by the fuzz targets: turning fuzz bytes into UTF-16 and
// 8-bit text that exercises the interesting characters often.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace qmfuzz {

// Characters the text code treats specially: markup, quotes, separators,
// white space, TAB, percent and hex digits, surrogates, Hebrew and Arabic,
// CJK, the byte-order mark and the replacement character.
inline const unsigned short kSpecial[] = {'\t', '\n', '\r', ' ', '&', ';', '<', '>', '/', '"', '\'', '%', '#',
    ':', '=', '?', '!', '{', '}', '*', '.', ',', '\\', '-', 'a', 'F', 'x', '0', '9', 'l', 't', 'g', 0x00A0,
    0x00E9, 0x00FF, 0x0100, 0x05D0, 0x05EA, 0x0627, 0x064A, 0xFB50, 0xFE70, 0x3042, 0x4E2D, 0xD800, 0xDBFF,
    0xDC00, 0xDFFF, 0xFEFF, 0xFFFD, 0xFFFF, 0x2710};

// A zero-terminated UTF-16 text of at most maxLen units (no zero inside).
inline std::vector<unsigned short> ConsumeU16(FuzzedDataProvider& fdp, size_t maxLen)
{
    std::vector<unsigned short> out;
    size_t len = fdp.ConsumeIntegralInRange<size_t>(0, maxLen);
    int mode = fdp.ConsumeIntegralInRange<int>(0, 2);
    for (size_t i = 0; i < len && fdp.remaining_bytes() > 0; ++i) {
        unsigned short ch;
        if (mode == 0)
            ch = fdp.ConsumeIntegral<unsigned short>();
        else if (mode == 1)
            ch = fdp.ConsumeIntegral<unsigned char>();
        else {
            unsigned char b = fdp.ConsumeIntegral<unsigned char>();
            ch = b < 128 ? b : kSpecial[b % (sizeof(kSpecial) / sizeof(kSpecial[0]))];
        }
        if (ch == 0)
            ch = ' ';
        out.push_back(ch);
    }
    out.push_back(0);
    return out;
}

// A zero-terminated 8-bit text of at most maxLen bytes (no zero inside).
inline std::string ConsumeBytes(FuzzedDataProvider& fdp, size_t maxLen)
{
    std::string s = fdp.ConsumeRandomLengthString(maxLen);
    for (char& c : s)
        if (c == 0)
            c = ' ';
    return s;
}

// The rest of the input as UTF-16 units read two bytes at a time.
inline std::vector<unsigned short> RemainingU16(FuzzedDataProvider& fdp)
{
    std::vector<unsigned short> out;
    while (fdp.remaining_bytes() >= 2) {
        unsigned short ch = fdp.ConsumeIntegral<unsigned short>();
        out.push_back(ch == 0 ? ' ' : ch);
    }
    out.push_back(0);
    return out;
}

// A one-byte-per-character UTF-16 form of 8-bit text (zero-extended).
inline std::vector<unsigned short> Widen(const std::string& s)
{
    std::vector<unsigned short> out(s.begin(), s.end());
    for (auto& u : out)
        u &= 0xFF;
    out.push_back(0);
    return out;
}

} // namespace qmfuzz

// Stops the fuzzer with a message when an invariant does not hold.
#define QM_FUZZ_CHECK(cond)                                                                                  \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);                   \
            __builtin_trap();                                                                                \
        }                                                                                                    \
    } while (0)
