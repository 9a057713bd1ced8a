#pragma once
// Whole-string conversions between UTF-8 and UTF-16 for the platform layer,
// on the sequence rule of platform/common/Utf8.h: a malformed UTF-8 byte is
// dropped, as is a surrogate that is not half of a pair; a lone surrogate
// unit in UTF-16 becomes U+FFFD.

#include "platform/common/Utf8.h"

#include <string>

namespace qm::utf8 {

inline std::u16string ToUtf16(const std::string& in)
{
    std::u16string out;
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n) {
        char32_t c = 0;
        const int taken = Decode(p + i, n - i, c);
        if (taken == 0) {
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(taken);
        if (c >= 0x10000) {
            out += HighSurrogate(c);
            out += LowSurrogate(c);
        } else if (IsHighSurrogate(c)) {
            char32_t low = 0;
            if (Decode(p + i, n - i, low) == 3 && IsLowSurrogate(low)) {
                out += static_cast<char16_t>(c);
                out += static_cast<char16_t>(low);
                i += 3;
            }
        } else if (!IsLowSurrogate(c)) {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

inline std::string FromUtf16(const std::u16string& in)
{
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (IsHighSurrogate(c) && i + 1 < in.size() && IsLowSurrogate(in[i + 1])) {
            c = FromSurrogates(c, in[i + 1]);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = 0xFFFD;
        }
        unsigned char bytes[4];
        out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(Encode(c, bytes)));
    }
    return out;
}

} // namespace qm::utf8
