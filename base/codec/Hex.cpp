#include "base/codec/Hex.h"

#include "base/text/Ascii.h"
#include "base/text/LowBytes.h"

#include <cstddef>
#include <cstdint>
#include <new>

namespace {

int DigitValue(unsigned int ch)
{
    if (IsAsciiDigit(ch))
        return static_cast<int>(ch - '0');
    if (ch >= 'A' && ch <= 'F')
        return static_cast<int>(ch - 'A') + 10;
    if (ch >= 'a' && ch <= 'f')
        return static_cast<int>(ch - 'a') + 10;
    return 0;
}

unsigned int ByteAt(const char* data, int i) { return static_cast<unsigned char>(data[i]); }
unsigned int ByteAt(const unsigned short* data, int i) { return LowByte(data[i]); }

unsigned int CharAt(const char* text, int i) { return static_cast<unsigned char>(text[i]); }
unsigned int CharAt(const unsigned short* text, int i) { return text[i]; }

template <typename In>
bool EncodeAny(const In* data, int length, char*& out, int& outLength)
{
    out = nullptr;
    outLength = 0;
    if (!data || length < 1 || length > (INT32_MAX - 1) / 2)
        return false;
    char* buf = new (std::nothrow) char[static_cast<std::size_t>(length) * 2 + 1];
    if (!buf)
        return false;
    for (int i = 0; i < length; ++i) {
        const unsigned int b = ByteAt(data, i);
        buf[2 * i] = CHex::Hex(static_cast<int>(b >> 4));
        buf[2 * i + 1] = CHex::Hex(static_cast<int>(b));
    }
    buf[2 * length] = 0;
    out = buf;
    outLength = 2 * length;
    return true;
}

template <typename In>
bool DecodeAny(const In* text, int length, char*& out, int& outLength)
{
    out = nullptr;
    outLength = 0;
    if (!text || length < 2)
        return false;
    const int count = length / 2;
    char* buf = new (std::nothrow) char[static_cast<std::size_t>(count) + 1];
    if (!buf)
        return false;
    for (int i = 0; i < count; ++i) {
        const int hi = DigitValue(CharAt(text, 2 * i));
        const int lo = DigitValue(CharAt(text, 2 * i + 1));
        buf[i] = static_cast<char>(static_cast<unsigned char>((hi << 4) | lo));
    }
    buf[count] = 0;
    out = buf;
    outLength = count;
    return true;
}

} // namespace

bool CHex::Encode(const char* data, int length, char*& out, int& outLength)
{
    return EncodeAny(data, length, out, outLength);
}

bool CHex::Encode(const unsigned short* data, int length, char*& out, int& outLength)
{
    return EncodeAny(data, length, out, outLength);
}

bool CHex::Decode(const char* text, int length, char*& out, int& outLength)
{
    return DecodeAny(text, length, out, outLength);
}

bool CHex::Decode(const unsigned short* text, int length, char*& out, int& outLength)
{
    return DecodeAny(text, length, out, outLength);
}

long CHex::DecodeToLong(const char* text)
{
    if (!text)
        return 0;
    std::uint32_t value = 0;
    for (const char* p = text; *p; ++p) {
        const unsigned int ch = static_cast<unsigned char>(*p);
        if (!IsAsciiAlnum(ch))
            continue;
        value = (value << 4) + static_cast<std::uint32_t>(DigitValue(ch));
    }
    return static_cast<long>(static_cast<std::int32_t>(value));
}

char CHex::Hex(int n) { return "0123456789ABCDEF"[n & 0xF]; }

int CHex::DeHex(char ch) { return DigitValue(static_cast<unsigned char>(ch)); }

int CHex::DeHex(unsigned short ch) { return DigitValue(ch); }
