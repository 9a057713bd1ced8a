// UTF-16 / UTF-8 / 8-bit conversions on plain arrays.
//
// Encoding: a unit below 0x80 is one byte, below 0x800 two, a basic-plane
// unit three; a high surrogate followed by a low surrogate is one character
// of the supplementary planes and becomes four bytes. A surrogate without its
// partner would make invalid UTF-8, so it is written as U+FFFD (kept visible
// rather than silently dropped).
//
// Decoding reads sequences with the tree's one UTF-8 decoder
// (platform/common/Utf8.h): a malformed byte is dropped by itself and
// decoding resumes at the next byte, so a broken sequence never swallows the
// text after it ("x", E4, "y" gives "xy"; a sequence cut off by the end of
// the input is dropped the same way, byte by byte). Of the well-formed
// sequences, 0xFFFE/0xFFFF and lone encoded surrogates are dropped whole. An
// encoded high surrogate immediately followed by an encoded low one (the
// six-byte form earlier versions wrote for supplementary characters) is
// decoded to the character it stands for.

#include "base/text/Utf.h"

#include "platform/common/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

using qm::utf8::IsHighSurrogate;
using qm::utf8::IsLowSurrogate;

} // namespace

namespace {

// Encodes count units into buf (room for 3 x count bytes); answers the bytes
// written.
size_t EncodeUTF8(const unsigned short* in, int count, unsigned char* buf)
{
    size_t n = 0;
    for (int i = 0; i < count; ++i) {
        char32_t c = in[i];
        if (c < 0x80) { // the common case, one byte
            buf[n++] = static_cast<unsigned char>(c);
            continue;
        }
        if (IsHighSurrogate(c) && i + 1 < count && IsLowSurrogate(in[i + 1])) {
            // Four bytes for a pair of two units: fits the 3-per-unit room.
            c = qm::utf8::FromSurrogates(c, in[i + 1]);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = 0xFFFD;
        }
        n += static_cast<size_t>(qm::utf8::Encode(c, buf + n));
    }
    return n;
}

} // namespace

int Unicode2UTF8(const unsigned short* in, unsigned char** out, int count, bool useNew)
{
    unsigned char* buf = StartOutput(out, in, count, 3, useNew);
    if (!buf)
        return 0;
    return FinishOutput(buf, EncodeUTF8(in, count, buf), out);
}

int UTF82Unicode(const unsigned char* in, unsigned short** out, int length, bool useNew)
{
    // Every unit written consumes at least one byte (a pair consumes four),
    // so length + 1 units always suffice.
    unsigned short* buf = StartOutput(out, in, length, 1, useNew);
    if (!buf)
        return 0;
    return FinishOutput(buf, static_cast<size_t>(UTF82UnicodeInto(in, length, buf)), out);
}

namespace {

// Decodes the sequence at in[i] (the input ends at end) into buf at n;
// answers the index of the next sequence.
inline size_t DecodeOne(const unsigned char* in, size_t i, size_t end, unsigned short* buf, size_t& n)
{
    if (in[i] < 0x80) { // the common case, one byte
        buf[n++] = in[i];
        return i + 1;
    }
    char32_t c = 0;
    const int taken = qm::utf8::Decode(in + i, end - i, c);
    if (taken == 0)
        return i + 1; // malformed: this byte alone
    i += static_cast<size_t>(taken);
    if (c >= 0x10000) {
        buf[n++] = qm::utf8::HighSurrogate(c);
        buf[n++] = qm::utf8::LowSurrogate(c);
    } else if (IsHighSurrogate(c)) {
        // Kept only as the first half of an encoded pair.
        char32_t low = 0;
        if (qm::utf8::Decode(in + i, end - i, low) == 3 && IsLowSurrogate(low)) {
            buf[n++] = static_cast<unsigned short>(c);
            buf[n++] = static_cast<unsigned short>(low);
            i += 3;
        }
    } else if (!IsLowSurrogate(c) && c != 0xFFFE && c != 0xFFFF) {
        buf[n++] = static_cast<unsigned short>(c);
    }
    return i;
}

// Text is read eight bytes at a time: a block of ASCII only (the bulk of
// markup's text) is widened at once, sixteen bytes when both halves are.
// Eight keeps the short texts of markup, a few words each, on that path too.
constexpr size_t kBlock = 8;

#if defined(__SSE2__)

// Widens the 16 bytes at in into out when all are below 0x80.
inline bool WidenAscii16(const unsigned char* in, unsigned short* out)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    if (_mm_movemask_epi8(bytes) != 0)
        return false;
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
    return true;
}

// The same for the kBlock bytes at in.
inline bool WidenAsciiBlock(const unsigned char* in, unsigned short* out)
{
    const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in));
    if (_mm_movemask_epi8(bytes) != 0)
        return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
    return true;
}

#else

inline bool WidenAsciiBlock(const unsigned char* in, unsigned short* out)
{
    std::uint64_t word;
    std::memcpy(&word, in, sizeof word);
    if ((word & 0x8080808080808080u) != 0)
        return false;
    for (size_t k = 0; k < kBlock; ++k)
        out[k] = in[k];
    return true;
}

inline bool WidenAscii16(const unsigned char* in, unsigned short* out)
{
    std::uint64_t a, b;
    std::memcpy(&a, in, sizeof a);
    std::memcpy(&b, in + 8, sizeof b);
    if (((a | b) & 0x8080808080808080u) != 0)
        return false;
    return WidenAsciiBlock(in, out) && WidenAsciiBlock(in + 8, out + 8);
}

#endif

} // namespace

int UTF82UnicodeInto(const unsigned char* in, int length, unsigned short* buf)
{
    if (!in || !buf || length <= 0)
        return 0;
    size_t n = 0;
    const size_t end = static_cast<size_t>(length);
    size_t i = 0;
    while (end - i >= kBlock) {
        if (end - i >= 2 * kBlock && WidenAscii16(in + i, buf + n)) {
            i += 2 * kBlock;
            n += 2 * kBlock;
            continue;
        }
        if (WidenAsciiBlock(in + i, buf + n)) {
            i += kBlock;
            n += kBlock;
            continue;
        }
        // A block holding longer sequences is decoded one at a time; the
        // last may reach past the block, and the next block starts after it.
        const size_t stop = i + kBlock;
        while (i < stop)
            i = DecodeOne(in, i, end, buf, n);
    }
    // The last bytes, fewer than a block: when the block ending with them is
    // ASCII only, its bytes before them were each widened to one unit, and
    // it is widened again over them.
    if (i < end && end >= kBlock) {
        const size_t back = kBlock - (end - i);
        if (WidenAsciiBlock(in + end - kBlock, buf + n - back))
            return static_cast<int>(n + end - i);
    }
    while (i < end)
        i = DecodeOne(in, i, end, buf, n);
    return static_cast<int>(n);
}

int Ansi2UTF8(const char* in, unsigned char** out, int length, bool useNew)
{
    unsigned char* buf = StartOutput(out, in, length, 2, useNew);
    if (!buf)
        return 0;
    size_t n = 0;
    for (int i = 0; i < length; ++i)
        n += static_cast<size_t>(qm::utf8::Encode(static_cast<unsigned char>(in[i]), buf + n));
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
    int count = 0;
    if (text) {
        while (text[count] != 0)
            ++count;
    }
    return ToUTF8String(text, count);
}

std::string ToUTF8String(const unsigned short* text, int count)
{
    std::string out;
    if (!text || count <= 0)
        return out;
    // Encoded straight into the string's own bytes; no memory gives the
    // empty string, as no conversion buffer did.
    try {
        out.resize(3 * static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return std::string();
    }
    out.resize(EncodeUTF8(text, count, reinterpret_cast<unsigned char*>(&out[0])));
    return out;
}
