#include "base/url/UrlEncoder.h"

#include <climits>
#include <cstring>

#include "base/codec/Hex.h"
#include "base/text/Ascii.h"

bool CURL::EncodeURL(const char* in, char* out, int length, int outSize)
{
    if (!in || !out || outSize < 1)
        return false;
    const std::size_t count = length < 0 ? std::strlen(in) : static_cast<std::size_t>(length);
    // Room left for text, keeping one byte for the terminator.
    std::size_t room = static_cast<std::size_t>(outSize) - 1;
    std::size_t n = 0;
    bool complete = true;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char ch = static_cast<unsigned char>(in[i]);
        if (IsAsciiAlnum(ch)) {
            if (room < 1) {
                complete = false;
                break;
            }
            out[n++] = static_cast<char>(ch);
            room -= 1;
        } else {
            if (room < 3) {
                complete = false;
                break;
            }
            out[n++] = '%';
            out[n++] = CHex::Hex(ch >> 4);
            out[n++] = CHex::Hex(ch);
            room -= 3;
        }
    }
    out[n] = 0;
    return complete;
}

int CURL::DecodeURL(const char* in, char* out)
{
    if (!in || !out)
        return 0;
    const std::size_t len = std::strlen(in);
    return DecodeURL(in, out, len >= static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(len) + 1);
}

int CURL::DecodeURL(const char* in, char* out, int outSize)
{
    if (!in || !out || outSize < 1)
        return 0;
    int n = 0;
    const int limit = outSize - 1;
    const char* p = in;
    while (*p && n < limit) {
        const unsigned char a = static_cast<unsigned char>(p[0]);
        if (a == '%' && p[1] && p[2] && IsAsciiHexDigit(static_cast<unsigned char>(p[1]))
            && IsAsciiHexDigit(static_cast<unsigned char>(p[2]))) {
            out[n++] = static_cast<char>((CHex::DeHex(p[1]) << 4) | CHex::DeHex(p[2]));
            p += 3;
        } else {
            out[n++] = static_cast<char>(a);
            ++p;
        }
    }
    out[n] = 0;
    return n;
}
