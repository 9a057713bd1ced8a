// Zero-terminated UTF-16 string functions. See U16.h for the widening rule of
// each 8-bit overload; the rules differ on purpose and callers depend on them.

#include "base/text/U16.h"

#include <new>

#include "base/text/Ascii.h"
#include "base/text/LowBytes.h"

#include <climits>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

// A byte widened by its value or with its sign; a UTF-16 unit is its value
// either way.
inline int ZeroExt(char c) { return static_cast<unsigned char>(c); }
inline int SignExt(char c) { return static_cast<signed char>(c); }
inline int ZeroExt(unsigned short c) { return c; }
inline int SignExt(unsigned short c) { return c; }

inline int AlphaIndex(int c) { return (c >= 'a') ? c - 'a' : c - 'A'; }

inline int Sign(int a, int b) { return a > b ? 1 : -1; }

// Compares two units without regard to ASCII case: 0 when they match, else 1/-1.
inline int CompareNoCase(int a, int b)
{
    if (IsAsciiLetter(static_cast<unsigned int>(a)) && IsAsciiLetter(static_cast<unsigned int>(b))) {
        int ia = AlphaIndex(a), ib = AlphaIndex(b);
        return ia == ib ? 0 : Sign(ia, ib);
    }
    return a == b ? 0 : Sign(a, b);
}

// Up to the terminators, bytes sign-extended; a null operand is taken as
// empty text.
template <typename A, typename B>
int CompareToEnd(const A* a, const B* b)
{
    static const A kEmptyA[1] = {0};
    static const B kEmptyB[1] = {0};
    if (!a)
        a = kEmptyA;
    if (!b)
        b = kEmptyB;
    for (int i = 0;; ++i) {
        int av = SignExt(a[i]), bv = SignExt(b[i]);
        if (av != bv)
            return Sign(av, bv);
        if (av == 0)
            return 0;
    }
}

// Exactly n positions of a and b, each pair compared by same(a[i], b[i])
// (0 when they match, else 1/-1). Null text is less than any text.
template <typename Unit, typename Compare>
int CompareCounted(const unsigned short* a, const Unit* b, int n, Compare same)
{
    if (n <= 0)
        return 0;
    if (!a || !b)
        return a ? 1 : (b ? -1 : 0);
    for (int i = 0; i < n; ++i) {
        int r = same(a[i], b[i]);
        if (r)
            return r;
    }
    return 0;
}

// Ignoring ASCII case over a's length plus its terminator; 1 when either is
// null. The walk stops at the first difference, so a shorter b is never read
// past its terminator.
template <typename A, typename B>
int CompareNoCaseToEnd(const A* a, const B* b)
{
    if (!a || !b)
        return 1;
    for (int i = 0;; ++i) {
        int r = CompareNoCase(SignExt(a[i]), SignExt(b[i]));
        if (r)
            return r;
        if (a[i] == 0)
            return 0;
    }
}

// First occurrence of needle (bytes zero-extended) in hay; an empty or null
// needle answers hay.
template <typename Unit>
unsigned short* FindText(const unsigned short* hay, const Unit* needle)
{
    if (!needle || !needle[0])
        return const_cast<unsigned short*>(hay);
    if (!hay)
        return nullptr;
    for (const unsigned short* p = hay; *p; ++p) {
        int i = 0;
        while (needle[i] && p[i] == ZeroExt(needle[i]))
            ++i;
        if (!needle[i])
            return const_cast<unsigned short*>(p);
    }
    return nullptr;
}

// Changes the case of the ASCII letters from..from+25 to to..to+25 in place.
template <typename Unit>
Unit* ChangeCase(Unit* s, char from, char to)
{
    if (s) {
        for (Unit* p = s; *p; ++p)
            if (*p >= from && *p <= from + 25)
                *p = static_cast<Unit>(*p - from + to);
    }
    return s;
}

// Narrows at most max units to bytes for the C number parsers; a unit outside
// 8 bits ends the text, so that no CJK or other unit is read as a digit by its
// low byte.
void NarrowForNumber(const unsigned short* s, char* out, int max)
{
    int i = 0;
    if (s) {
        for (; i < max && s[i] != 0 && NarrowsExactly(s[i]); ++i)
            out[i] = static_cast<char>(s[i]);
    }
    out[i] = 0;
}

// A new zero-terminated array (array new) holding convert(unit) for every
// unit of s (none for null), or null when no memory could be had.
template <typename Out, typename In, typename Convert>
Out* NewConverted(const In* s, Convert convert)
{
    const int n = U16len(s);
    Out* out = new (std::nothrow) Out[static_cast<size_t>(n) + 1];
    if (!out)
        return nullptr;
    for (int i = 0; i < n; ++i)
        out[i] = static_cast<Out>(convert(s[i]));
    out[n] = 0;
    return out;
}

} // namespace

// Builds with AddressSanitizer count unit by unit: the word reads below
// pass the terminator, which the sanitizer reports even where the memory is
// there to read.
#if defined(__SANITIZE_ADDRESS__)
#define QM_U16LEN_WORDS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_U16LEN_WORDS 0
#endif
#endif
#ifndef QM_U16LEN_WORDS
#define QM_U16LEN_WORDS 1
#endif

int U16len(const unsigned short* s)
{
    if (!s)
        return 0;
    const unsigned short* p = s;
#if QM_U16LEN_WORDS
    // Most strings are short: their units are counted one by one.
    for (const unsigned short* first = s + 8; p < first; ++p) {
        if (!*p)
            return static_cast<int>(p - s);
    }
    // Four units at a time, from the next 8-byte boundary on: an aligned
    // word that holds a unit of the string lies in that unit's page, so
    // reading the whole word past the terminator cannot fault. A zero lane
    // sets its top bit in (word - ones) & ~word, and only a word holding a
    // zero lane sets any.
    while ((reinterpret_cast<std::uintptr_t>(p) & 7) != 0) {
        if (!*p)
            return static_cast<int>(p - s);
        ++p;
    }
    constexpr std::uint64_t kOnes = 0x0001000100010001ULL;
    constexpr std::uint64_t kTops = 0x8000800080008000ULL;
    for (;;) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if ((word - kOnes) & ~word & kTops)
            break;
        p += 4;
    }
#endif
    while (*p)
        ++p;
    return static_cast<int>(p - s);
}

int U16len(const char* s) { return s ? static_cast<int>(std::strlen(s)) : 0; }

unsigned short* U16cpy(unsigned short* dst, const unsigned short* src)
{
    if (!dst || !src)
        return dst;
    int n = U16len(src);
    std::memmove(dst, src, (static_cast<size_t>(n) + 1) * sizeof(unsigned short));
    return dst;
}

unsigned short* U16cpy(unsigned short* dst, const char* src)
{
    if (!dst || !src)
        return dst;
    int i = 0;
    for (; src[i]; ++i)
        dst[i] = static_cast<unsigned short>(ZeroExt(src[i]));
    dst[i] = 0;
    return dst;
}

unsigned short* U16ncpy(unsigned short* dst, const unsigned short* src, int n)
{
    if (!dst || n < 0)
        return dst;
    if (src && n > 0)
        std::memmove(dst, src, static_cast<size_t>(n) * sizeof(unsigned short));
    dst[n] = 0;
    return dst;
}

unsigned short* U16ncpy(unsigned short* dst, const char* src, int n)
{
    if (!dst || n < 0)
        return dst;
    if (src) {
        for (int i = 0; i < n; ++i)
            dst[i] = static_cast<unsigned short>(ZeroExt(src[i]));
    }
    dst[n] = 0;
    return dst;
}

int U16cat(unsigned short* dst, const unsigned short* src)
{
    if (!dst || !src)
        return 0;
    int n = U16len(src);
    std::memmove(dst + U16len(dst), src, (static_cast<size_t>(n) + 1) * sizeof(unsigned short));
    return n;
}

int U16cat(unsigned short* dst, const char* src)
{
    if (!dst || !src)
        return 0;
    unsigned short* p = dst + U16len(dst);
    int i = 0;
    for (; src[i]; ++i)
        p[i] = static_cast<unsigned short>(SignExt(src[i]));
    p[i] = 0;
    return i;
}

int U16cmp(const unsigned short* a, const unsigned short* b) { return CompareToEnd(a, b); }

int U16cmp(const char* a, const unsigned short* b) { return CompareToEnd(a, b); }

int U16cmp(const unsigned short* a, const char* b) { return -U16cmp(b, a); }

int U16ncmp(const unsigned short* a, const unsigned short* b, int n)
{
    return CompareCounted(
        a, b, n, [](unsigned short x, unsigned short y) { return x == y ? 0 : Sign(x, y); });
}

// Equality is by the zero-extended byte, the order by the sign-extended one.
int U16ncmp(const unsigned short* a, const char* b, int n)
{
    return CompareCounted(
        a, b, n, [](unsigned short x, char y) { return x == ZeroExt(y) ? 0 : Sign(x, SignExt(y)); });
}

int U16nicmp(const unsigned short* a, const unsigned short* b, int n)
{
    return CompareCounted(a, b, n, [](unsigned short x, unsigned short y) { return CompareNoCase(x, y); });
}

int U16nicmp(const unsigned short* a, const char* b, int n)
{
    return CompareCounted(a, b, n, [](unsigned short x, char y) { return CompareNoCase(x, SignExt(y)); });
}

int U16icmp(const unsigned short* a, const unsigned short* b) { return CompareNoCaseToEnd(a, b); }

int U16icmp(const unsigned short* a, const char* b) { return CompareNoCaseToEnd(a, b); }

int U16icmp(const char* a, const unsigned short* b) { return CompareNoCaseToEnd(a, b); }

unsigned short* U16str(const unsigned short* hay, const unsigned short* needle)
{
    return FindText(hay, needle);
}

unsigned short* U16str(const unsigned short* hay, const char* needle) { return FindText(hay, needle); }

unsigned short* U16chr(const unsigned short* s, int ch)
{
    if (!s || ch == 0)
        return nullptr;
    for (; *s; ++s) {
        if (*s == ch)
            return const_cast<unsigned short*>(s);
    }
    return nullptr;
}

unsigned short* U16upr(unsigned short* s) { return ChangeCase(s, 'a', 'A'); }

unsigned short* U16lwr(unsigned short* s) { return ChangeCase(s, 'A', 'a'); }

char* strupr(char* s) { return ChangeCase(s, 'a', 'A'); }

char* strlwr(char* s) { return ChangeCase(s, 'A', 'a'); }

long U16toi(const unsigned short* s)
{
    char text[101];
    NarrowForNumber(s, text, 100);
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');
    // Accumulate towards the sign so that LONG_MIN is reachable; saturate at
    // the ends of the range instead of overflowing.
    long value = 0;
    for (; IsAsciiDigit(*p); ++p) {
        int digit = *p - '0';
        if (negative) {
            if (value < (LONG_MIN + digit) / 10)
                return LONG_MIN;
            value = value * 10 - digit;
        } else {
            if (value > (LONG_MAX - digit) / 10)
                return LONG_MAX;
            value = value * 10 + digit;
        }
    }
    return value;
}

double u2f(const unsigned short* s)
{
    char text[100];
    NarrowForNumber(s, text, 99);
    // Numbers in documents always use the full stop, whatever the process locale.
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale)
        return strtod_l(text, nullptr, cLocale);
    return std::strtod(text, nullptr);
}

void TrimStr(char* s, bool fromStart)
{
    if (!s)
        return;
    size_t n = std::strlen(s);
    if (fromStart) {
        size_t k = 0;
        while (k < n && s[k] == ' ')
            ++k;
        if (k)
            std::memmove(s, s + k, n - k + 1);
    } else {
        while (n > 0 && s[n - 1] == ' ')
            s[--n] = 0;
    }
}

unsigned short* U16dup(const unsigned short* s)
{
    // A null s has length 0, so it copies as the empty text.
    return NewConverted<unsigned short>(s, [](unsigned short c) { return c; });
}

unsigned short* ConvertCharToTChar(const char* s)
{
    return s ? NewConverted<unsigned short>(s, [](char c) { return ZeroExt(c); }) : nullptr;
}

char* ConvertTCharToChar(const unsigned short* s)
{
    return s ? NewConverted<char>(s, [](unsigned short c) { return LowByte(c); }) : nullptr;
}

unsigned int* AnsiToUnicode(const char* s)
{
    return s ? NewConverted<unsigned int>(s, [](char c) { return ZeroExt(c); }) : nullptr;
}

void CopyBetweenUnicodeAndAnsi(unsigned short* wide, unsigned char* narrow, long n, bool toWide)
{
    if (!wide || !narrow)
        return;
    if (toWide) {
        if (n < 0)
            n = static_cast<long>(std::strlen(reinterpret_cast<const char*>(narrow)));
        for (long i = 0; i < n; ++i)
            wide[i] = narrow[i];
        wide[n] = 0;
    } else {
        if (n < 0)
            n = U16len(wide);
        for (long i = 0; i < n; ++i)
            narrow[i] = LowByte(wide[i]);
        narrow[n] = 0;
    }
}

bool DoesContainUnicode(const unsigned short* s)
{
    if (!s)
        return false;
    for (; *s; ++s)
        if (*s >= 0x100)
            return true;
    return false;
}

bool IsBufferUnicode(const char* bytes, int size)
{
    if (!bytes || size <= 0 || (size % 2) != 0)
        return false;
    return std::memchr(bytes, 0, static_cast<size_t>(size)) != nullptr;
}
