// Scans over a text run's characters, eight at a time where SSE2 is there.

#include "elements/TextRunScan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool Matches(const unsigned short* s, const unsigned short* needle, int needleLength)
{
    return std::memcmp(s, needle, sizeof(unsigned short) * static_cast<size_t>(needleLength)) == 0;
}

// Whether the unit at s needs rewriting, given the unit before it.
bool NeedsWork(unsigned short c, unsigned short before) { return c < ' ' || (c == ' ' && before == ' '); }

} // namespace

int FindUnits(const unsigned short* s, int n, const unsigned short* needle, int needleLength)
{
    if (!s || !needle || needleLength <= 0 || n < needleLength)
        return -1;
    // Only the places where the needle's first unit stands are compared.
    const int last = n - needleLength; // the last place the needle fits
    int i = 0;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(static_cast<short>(needle[0]));
    auto findIn = [&](int from) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(v, first)));
        for (; mask; mask &= mask - 1) {
            const int at = from + __builtin_ctz(mask) / 2;
            mask &= mask - 1; // the unit's first bit; the loop clears its second
            if (Matches(s + at, needle, needleLength))
                return at;
        }
        return -1;
    };
    for (; i + 8 <= last + 1; i += 8) {
        const int at = findIn(i);
        if (at >= 0)
            return at;
    }
    // The last places in one more step of eight, ending at the last: the
    // places it takes again held no match.
    if (i <= last && last + 1 >= 8)
        return findIn(last + 1 - 8);
#endif
    for (; i <= last; ++i) {
        if (s[i] == needle[0] && Matches(s + i, needle, needleLength))
            return i;
    }
    return -1;
}

int UnchangedPrefix(const unsigned short* s, int n)
{
    if (!s || n <= 0 || s[0] < ' ')
        return 0;
    int i = 1; // each unit is looked at with the one before it
#if defined(__SSE2__)
    // Unsigned units compared as signed ones, their top bits flipped.
    const __m128i flip = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i belowBlank = _mm_set1_epi16(static_cast<short>(' ' ^ 0x8000));
    const __m128i blank = _mm_set1_epi16(' ');
    // The first unit of s[from, from + 8) that needs work, or -1.
    auto firstIn = [&](int from) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from - 1));
        const __m128i control = _mm_cmplt_epi16(_mm_xor_si128(v, flip), belowBlank);
        const __m128i doubled = _mm_and_si128(_mm_cmpeq_epi16(v, blank), _mm_cmpeq_epi16(before, blank));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(control, doubled)));
        return mask ? from + __builtin_ctz(mask) / 2 : -1;
    };
    for (; i + 8 <= n; i += 8) {
        const int at = firstIn(i);
        if (at >= 0)
            return at;
    }
    // The last units in one more step of eight, ending at n: those it takes
    // again needed no work.
    if (i < n && n >= 9) {
        const int at = firstIn(n - 8);
        return at >= 0 ? at : n;
    }
#endif
    for (; i < n; ++i) {
        if (NeedsWork(s[i], s[i - 1]))
            return i;
    }
    return n;
}
