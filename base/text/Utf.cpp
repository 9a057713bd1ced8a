// UTF-16 / UTF-8 / 8-bit conversions on plain arrays.
//
// Encoding: a unit below 0x80 is one byte, below 0x800 two, a basic-plane
// unit three; a high surrogate followed by a low surrogate is one character
// of the supplementary planes and becomes four bytes. A surrogate without its
// partner would make invalid UTF-8, so it is written as U+FFFD (kept visible
// rather than silently dropped).
//
// Decoding drops malformed bytes one at a time and resumes at the next byte,
// so a broken sequence never swallows the text after it. Overlong forms,
// values beyond U+10FFFF, 0xFFFE/0xFFFF and lone encoded surrogates are
// dropped. An encoded high surrogate immediately followed by an encoded low
// one (the six-byte form earlier versions wrote for supplementary characters)
// is decoded to the character it stands for. A sequence cut off by the end of
// the input ends the decoding.

#include "base/text/Utf.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

template <typename T>
T* Allocate(size_t count, bool useNew)
{
    if (useNew)
        return new (std::nothrow) T[count];
    return static_cast<T*>(std::malloc(count * sizeof(T)));
}

// The start of a conversion: clears *out and, when the input is usable (a
// length not negative, and data unless the length is 0), allocates
// perInput x length + 1 output units. Null when nothing is to be produced.
template <typename T>
T* StartOutput(T** out, const void* in, int length, size_t perInput, bool useNew)
{
    if (!out)
        return nullptr;
    *out = nullptr;
    if (length < 0 || (!in && length > 0))
        return nullptr;
    return Allocate<T>(perInput * static_cast<size_t>(length) + 1, useNew);
}

// The end of a conversion: terminates the n units written and hands them out.
template <typename T>
int FinishOutput(T* buf, size_t n, T** out)
{
    buf[n] = 0;
    *out = buf;
    return static_cast<int>(n);
}

inline bool IsHigh(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool IsLow(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }
inline bool IsCont(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes one three-byte sequence at p (all three bytes present and valid
// continuation bytes); answers its value, or -1 when malformed.
long ThreeByteValue(const unsigned char* p)
{
    if (!IsCont(p[1]) || !IsCont(p[2]))
        return -1;
    long v = ((p[0] & 0x0FL) << 12) | ((p[1] & 0x3FL) << 6) | (p[2] & 0x3FL);
    return v >= 0x800 ? v : -1;
}

} // namespace

int Unicode2UTF8(const unsigned short* in, unsigned char** out, int count, bool useNew)
{
    unsigned char* buf = StartOutput(out, in, count, 3, useNew);
    if (!buf)
        return 0;
    size_t n = 0;
    for (int i = 0; i < count; ++i) {
        unsigned u = in[i];
        if (IsHigh(u) && i + 1 < count && IsLow(in[i + 1])) {
            // Four bytes for a pair of two units: fits the 3-per-unit room.
            unsigned long cp = 0x10000UL + ((u - 0xD800UL) << 10) + (in[i + 1] - 0xDC00UL);
            buf[n++] = static_cast<unsigned char>(0xF0 | (cp >> 18));
            buf[n++] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
            buf[n++] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
            buf[n++] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
            ++i;
            continue;
        }
        if (IsHigh(u) || IsLow(u))
            u = 0xFFFD;
        if (u < 0x80) {
            buf[n++] = static_cast<unsigned char>(u);
        } else if (u < 0x800) {
            buf[n++] = static_cast<unsigned char>(0xC0 | (u >> 6));
            buf[n++] = static_cast<unsigned char>(0x80 | (u & 0x3F));
        } else {
            buf[n++] = static_cast<unsigned char>(0xE0 | (u >> 12));
            buf[n++] = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
            buf[n++] = static_cast<unsigned char>(0x80 | (u & 0x3F));
        }
    }
    return FinishOutput(buf, n, out);
}

int UTF82Unicode(const unsigned char* in, unsigned short** out, int length, bool useNew)
{
    // Every unit written consumes at least one byte (a pair consumes four),
    // so length + 1 units always suffice.
    unsigned short* buf = StartOutput(out, in, length, 1, useNew);
    if (!buf)
        return 0;
    size_t n = 0;
    int i = 0;
    while (i < length) {
        unsigned char b = in[i];
        if (b < 0x80) {
            buf[n++] = b;
            ++i;
        } else if (b >= 0xC2 && b <= 0xDF) {
            if (i + 1 >= length)
                break;
            if (!IsCont(in[i + 1])) {
                ++i;
                continue;
            }
            buf[n++] = static_cast<unsigned short>(((b & 0x1F) << 6) | (in[i + 1] & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            if (i + 2 >= length)
                break;
            long v = ThreeByteValue(in + i);
            if (v < 0) {
                ++i;
                continue;
            }
            if (IsHigh(static_cast<unsigned>(v))) {
                // An encoded pair: high then low surrogate, six bytes.
                if (i + 5 < length && in[i + 3] >= 0xE0 && in[i + 3] <= 0xEF) {
                    long low = ThreeByteValue(in + i + 3);
                    if (low >= 0 && IsLow(static_cast<unsigned>(low))) {
                        buf[n++] = static_cast<unsigned short>(v);
                        buf[n++] = static_cast<unsigned short>(low);
                        i += 6;
                        continue;
                    }
                }
                i += 3;
                continue;
            }
            if (IsLow(static_cast<unsigned>(v)) || v > 0xFFFD) {
                i += 3;
                continue;
            }
            buf[n++] = static_cast<unsigned short>(v);
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            if (i + 3 >= length)
                break;
            if (!IsCont(in[i + 1]) || !IsCont(in[i + 2]) || !IsCont(in[i + 3])) {
                ++i;
                continue;
            }
            unsigned long cp = ((b & 0x07UL) << 18) | ((in[i + 1] & 0x3FUL) << 12)
                | ((in[i + 2] & 0x3FUL) << 6) | (in[i + 3] & 0x3FUL);
            if (cp >= 0x10000 && cp <= 0x10FFFF) {
                cp -= 0x10000;
                buf[n++] = static_cast<unsigned short>(0xD800 + (cp >> 10));
                buf[n++] = static_cast<unsigned short>(0xDC00 + (cp & 0x3FF));
            }
            i += 4;
        } else {
            // Stray continuation byte, overlong lead (C0, C1) or a lead byte
            // that no valid sequence uses (F5-FF).
            ++i;
        }
    }
    return FinishOutput(buf, n, out);
}

int Ansi2UTF8(const char* in, unsigned char** out, int length, bool useNew)
{
    unsigned char* buf = StartOutput(out, in, length, 2, useNew);
    if (!buf)
        return 0;
    size_t n = 0;
    for (int i = 0; i < length; ++i) {
        unsigned char b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            buf[n++] = b;
        } else {
            buf[n++] = static_cast<unsigned char>(0xC0 | (b >> 6));
            buf[n++] = static_cast<unsigned char>(0x80 | (b & 0x3F));
        }
    }
    return FinishOutput(buf, n, out);
}

int Ansi2Unicode(const unsigned char* in, unsigned short** out, int length, bool useNew)
{
    unsigned short* buf = StartOutput(out, in, length, 1, useNew);
    if (!buf)
        return 0;
    for (int i = 0; i < length; ++i)
        buf[i] = in[i];
    return FinishOutput(buf, static_cast<size_t>(length), out);
}

int Multibyte2Unicode(const unsigned char* in, unsigned short** out, int length, bool useNew)
{
    if (out)
        *out = nullptr;
    if (length < 2 || !in)
        return 0;
    const int units = length / 2;
    unsigned short* buf = StartOutput(out, in, units, 1, useNew);
    if (!buf)
        return 0;
    std::memcpy(buf, in, static_cast<size_t>(units) * sizeof(unsigned short));
    return FinishOutput(buf, static_cast<size_t>(units), out);
}

std::string ToUTF8String(const unsigned short* text)
{
    std::string out;
    if (!text)
        return out;
    int count = 0;
    while (text[count] != 0)
        ++count;
    unsigned char* bytes = nullptr;
    const int n = Unicode2UTF8(text, &bytes, count, true);
    const std::unique_ptr<unsigned char[]> owned(bytes);
    if (bytes && n > 0)
        out.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
    return out;
}
