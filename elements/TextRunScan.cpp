// Scans over a text run's characters, eight at a time where SSE2 is there.

#include "elements/TextRunScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Whether the unit at s needs rewriting, given the unit before it.
bool NeedsWork(unsigned short c, unsigned short before) { return c < ' ' || (c == ' ' && before == ' '); }

} // namespace

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
