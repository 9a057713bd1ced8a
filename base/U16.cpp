// Zero-terminated UTF-16 string functions. See U16.h for the widening rule of
// each 8-bit overload; the rules differ on purpose and callers depend on them.

#include "base/U16.h"

#include <cstddef>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

inline int ZeroExt(char c) { return static_cast<unsigned char>(c); }
inline int SignExt(char c) { return static_cast<signed char>(c); }

inline bool IsAsciiLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline int AlphaIndex(int c) { return (c >= 'a') ? c - 'a' : c - 'A'; }

inline int Sign(int a, int b) { return a > b ? 1 : -1; }

// Compares two units without regard to ASCII case: 0 when they match, else 1/-1.
inline int CompareNoCase(int a, int b)
{
    if (IsAsciiLetter(a) && IsAsciiLetter(b)) {
        int ia = AlphaIndex(a), ib = AlphaIndex(b);
        return ia == ib ? 0 : Sign(ia, ib);
    }
    return a == b ? 0 : Sign(a, b);
}

// Narrows at most max units to bytes for the C number parsers; a unit outside
// 8 bits ends the text, so that no CJK or other unit is read as a digit by its
// low byte.
void NarrowForNumber(const unsigned short* s, char* out, int max)
{
    int i = 0;
    if (s) {
        for (; i < max && s[i] != 0 && s[i] < 0x100; ++i)
            out[i] = static_cast<char>(s[i]);
    }
    out[i] = 0;
}

} // namespace

int U16len(const unsigned short* s)
{
    if (!s)
        return 0;
    int n = 0;
    while (s[n])
        ++n;
    return n;
}

int U16len(const char* s)
{
    return s ? static_cast<int>(std::strlen(s)) : 0;
}

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

// A null operand is taken as empty text.
int U16cmp(const unsigned short* a, const unsigned short* b)
{
    static const unsigned short kEmpty[1] = {0};
    if (!a) a = kEmpty;
    if (!b) b = kEmpty;
    for (int i = 0;; ++i) {
        if (a[i] != b[i])
            return Sign(a[i], b[i]);
        if (a[i] == 0)
            return 0;
    }
}

int U16cmp(const char* a, const unsigned short* b)
{
    if (!a) a = "";
    static const unsigned short kEmpty[1] = {0};
    if (!b) b = kEmpty;
    for (int i = 0;; ++i) {
        int av = SignExt(a[i]), bv = b[i];
        if (av != bv)
            return Sign(av, bv);
        if (av == 0)
            return 0;
    }
}

int U16cmp(const unsigned short* a, const char* b)
{
    return -U16cmp(b, a);
}

int U16ncmp(const unsigned short* a, const unsigned short* b, int n)
{
    if (n <= 0 || a == b)
        return 0;
    if (!a || !b)
        return a ? 1 : -1;
    for (int i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return Sign(a[i], b[i]);
    }
    return 0;
}

int U16ncmp(const unsigned short* a, const char* b, int n)
{
    if (n <= 0)
        return 0;
    if (!a || !b)
        return a ? 1 : (b ? -1 : 0);
    for (int i = 0; i < n; ++i) {
        if (a[i] != ZeroExt(b[i]))
            return Sign(a[i], SignExt(b[i]));
    }
    return 0;
}

int U16nicmp(const unsigned short* a, const unsigned short* b, int n)
{
    if (n <= 0 || a == b)
        return 0;
    if (!a || !b)
        return a ? 1 : -1;
    for (int i = 0; i < n; ++i) {
        int r = CompareNoCase(a[i], b[i]);
        if (r)
            return r;
    }
    return 0;
}

int U16nicmp(const unsigned short* a, const char* b, int n)
{
    if (n <= 0)
        return 0;
    if (!a || !b)
        return a ? 1 : (b ? -1 : 0);
    for (int i = 0; i < n; ++i) {
        int r = CompareNoCase(a[i], SignExt(b[i]));
        if (r)
            return r;
    }
    return 0;
}

// Over positions 0..len(a): the terminators take part, and the walk stops at
// the first difference, so a shorter b is never read past its terminator.
int U16icmp(const unsigned short* a, const unsigned short* b)
{
    if (!a || !b)
        return 1;
    for (int i = 0;; ++i) {
        int r = CompareNoCase(a[i], b[i]);
        if (r)
            return r;
        if (a[i] == 0)
            return 0;
    }
}

int U16icmp(const unsigned short* a, const char* b)
{
    if (!a || !b)
        return 1;
    for (int i = 0;; ++i) {
        int r = CompareNoCase(a[i], SignExt(b[i]));
        if (r)
            return r;
        if (a[i] == 0)
            return 0;
    }
}

int U16icmp(const char* a, const unsigned short* b)
{
    if (!a || !b)
        return 1;
    for (int i = 0;; ++i) {
        int r = CompareNoCase(SignExt(a[i]), b[i]);
        if (r)
            return r;
        if (a[i] == 0)
            return 0;
    }
}

unsigned short* U16str(const unsigned short* hay, const unsigned short* needle)
{
    if (!needle || !needle[0])
        return const_cast<unsigned short*>(hay);
    if (!hay)
        return nullptr;
    for (const unsigned short* p = hay; *p; ++p) {
        int i = 0;
        while (needle[i] && p[i] == needle[i])
            ++i;
        if (!needle[i])
            return const_cast<unsigned short*>(p);
    }
    return nullptr;
}

unsigned short* U16str(const unsigned short* hay, const char* needle)
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

unsigned short* U16upr(unsigned short* s)
{
    if (s) {
        for (unsigned short* p = s; *p; ++p)
            if (*p >= 'a' && *p <= 'z')
                *p = static_cast<unsigned short>(*p - 'a' + 'A');
    }
    return s;
}

unsigned short* U16lwr(unsigned short* s)
{
    if (s) {
        for (unsigned short* p = s; *p; ++p)
            if (*p >= 'A' && *p <= 'Z')
                *p = static_cast<unsigned short>(*p - 'A' + 'a');
    }
    return s;
}

char* strupr(char* s)
{
    if (s) {
        for (char* p = s; *p; ++p)
            if (*p >= 'a' && *p <= 'z')
                *p = static_cast<char>(*p - 'a' + 'A');
    }
    return s;
}

char* strlwr(char* s)
{
    if (s) {
        for (char* p = s; *p; ++p)
            if (*p >= 'A' && *p <= 'Z')
                *p = static_cast<char>(*p - 'A' + 'a');
    }
    return s;
}

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
    for (; *p >= '0' && *p <= '9'; ++p) {
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

unsigned short* ConvertCharToTChar(const char* s)
{
    if (!s)
        return nullptr;
    int n = U16len(s);
    unsigned short* out = new unsigned short[static_cast<size_t>(n) + 1];
    U16cpy(out, s);
    return out;
}

char* ConvertTCharToChar(const unsigned short* s)
{
    if (!s)
        return nullptr;
    int n = U16len(s);
    char* out = new char[static_cast<size_t>(n) + 1];
    for (int i = 0; i < n; ++i)
        out[i] = static_cast<char>(s[i] & 0xFF);
    out[n] = 0;
    return out;
}

unsigned int* AnsiToUnicode(const char* s)
{
    if (!s)
        return nullptr;
    int n = U16len(s);
    unsigned int* out = new unsigned int[static_cast<size_t>(n) + 1];
    for (int i = 0; i < n; ++i)
        out[i] = static_cast<unsigned int>(ZeroExt(s[i]));
    out[n] = 0;
    return out;
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
            narrow[i] = static_cast<unsigned char>(wide[i] & 0xFF);
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
