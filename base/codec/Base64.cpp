#include "base/codec/Base64.h"

#include "base/text/Ascii.h"
#include "base/text/LowBytes.h"

#include <climits>
#include <cstddef>
#include <new>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

const int kLineChars = 76;

// The alphabet value of a character, or -1 for anything outside it.
int ValueOf(unsigned int ch)
{
    if (IsAsciiUpper(ch))
        return static_cast<int>(ch - 'A');
    if (IsAsciiLower(ch))
        return static_cast<int>(ch - 'a') + 26;
    if (IsAsciiDigit(ch))
        return static_cast<int>(ch - '0') + 52;
    if (ch == '+')
        return 62;
    if (ch == '/')
        return 63;
    return -1;
}

unsigned int ByteAt(const char* data, int i) { return static_cast<unsigned char>(data[i]); }
unsigned int ByteAt(const unsigned short* data, int i) { return LowByte(data[i]); }

unsigned int CharAt(const char* text, int i) { return static_cast<unsigned char>(text[i]); }
unsigned int CharAt(const unsigned short* text, int i) { return text[i]; }

template <typename In, typename Out>
bool EncodeAny(const In* data, int length, Out*& out, int& outLength, bool lineBreaks)
{
    out = nullptr;
    outLength = 0;
    if (!data || length < 1)
        return false;

    // Exact size: four characters per started group of three bytes, plus CR LF
    // after each complete 57-byte line. Computed wide so a huge input cannot
    // wrap the count.
    const long long groups = (static_cast<long long>(length) + 2) / 3;
    long long total = groups * 4;
    if (lineBreaks)
        total += static_cast<long long>(length / 57) * 2;
    if (total >= INT_MAX)
        return false;

    Out* buf = new (std::nothrow) Out[static_cast<std::size_t>(total) + 1];
    if (!buf)
        return false;

    int n = 0;
    int lineLength = 0;
    int i = 0;
    for (; i + 3 <= length; i += 3) {
        const unsigned int v = (ByteAt(data, i) << 16) | (ByteAt(data, i + 1) << 8) | ByteAt(data, i + 2);
        buf[n++] = static_cast<Out>(kAlphabet[(v >> 18) & 63]);
        buf[n++] = static_cast<Out>(kAlphabet[(v >> 12) & 63]);
        buf[n++] = static_cast<Out>(kAlphabet[(v >> 6) & 63]);
        buf[n++] = static_cast<Out>(kAlphabet[v & 63]);
        lineLength += 4;
        if (lineBreaks && lineLength == kLineChars) {
            buf[n++] = static_cast<Out>('\r');
            buf[n++] = static_cast<Out>('\n');
            lineLength = 0;
        }
    }
    const int rest = length - i;
    if (rest > 0) {
        unsigned int v = ByteAt(data, i) << 16;
        if (rest == 2)
            v |= ByteAt(data, i + 1) << 8;
        buf[n++] = static_cast<Out>(kAlphabet[(v >> 18) & 63]);
        buf[n++] = static_cast<Out>(kAlphabet[(v >> 12) & 63]);
        buf[n++] = static_cast<Out>(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
        buf[n++] = static_cast<Out>('=');
    }
    buf[n] = 0;
    out = buf;
    outLength = n;
    return true;
}

template <typename In, typename Out>
bool DecodeAny(const In* text, int length, Out*& out, int& outLength)
{
    out = nullptr;
    outLength = 0;
    if (!text || length < 4)
        return false;

    // Four characters give at most three bytes, so length bytes always suffice.
    Out* buf = new (std::nothrow) Out[static_cast<std::size_t>(length) + 1];
    if (!buf)
        return false;

    int n = 0;
    unsigned int bits = 0;
    int bitCount = 0;
    for (int i = 0; i < length; ++i) {
        const unsigned int ch = CharAt(text, i);
        if (ch == '=')
            break;
        const int v = ValueOf(ch);
        if (v < 0)
            continue;
        bits = ((bits << 6) | static_cast<unsigned int>(v)) & 0xFFFFFFu;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            buf[n++] = static_cast<Out>(static_cast<unsigned char>((bits >> bitCount) & 0xFF));
        }
    }
    buf[n] = 0;
    out = buf;
    outLength = n;
    return true;
}

} // namespace

bool CBase64::Encode(const char* data, int length, char*& out, int& outLength, bool lineBreaks)
{
    return EncodeAny(data, length, out, outLength, lineBreaks);
}

bool CBase64::Encode(const char* data, int length, unsigned short*& out, int& outLength, bool lineBreaks)
{
    return EncodeAny(data, length, out, outLength, lineBreaks);
}

bool CBase64::Encode(
    const unsigned short* data, int length, unsigned short*& out, int& outLength, bool lineBreaks)
{
    return EncodeAny(data, length, out, outLength, lineBreaks);
}

bool CBase64::Decode(const char* text, int length, char*& out, int& outLength)
{
    return DecodeAny(text, length, out, outLength);
}

bool CBase64::Decode(const unsigned short* text, int length, char*& out, int& outLength)
{
    return DecodeAny(text, length, out, outLength);
}

bool CBase64::Decode(const unsigned short* text, int length, unsigned short*& out, int& outLength)
{
    return DecodeAny(text, length, out, outLength);
}
