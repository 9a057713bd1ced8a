#pragma once
// Finding one UTF-16 unit in a stretch of text, a word of four units at a
// time.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qm::text {

// The first position from i on, before end, that holds the unit c; end
// when none does. Four units are tested at a time (one 64-bit word, a lane
// each): a lane equal to c becomes zero, and a zero lane sets its top bit.
inline size_t NextUnit(const unsigned short* s, size_t i, size_t end, unsigned short c)
{
    constexpr std::uint64_t kOnes = 0x0001000100010001ULL;
    constexpr std::uint64_t kTops = 0x8000800080008000ULL;
    const std::uint64_t pattern = kOnes * c;
    for (; i + 4 <= end; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, s + i, sizeof word);
        word ^= pattern;
        if ((word - kOnes) & ~word & kTops)
            break;
    }
    while (i < end && s[i] != c)
        ++i;
    return i;
}

} // namespace qm::text
