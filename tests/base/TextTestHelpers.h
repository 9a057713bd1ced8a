#pragma once
// Conversions between test literals and CSafeBuf for the text utility tests:
// u"..." literals in, UTF-8 std::string out (so failures print readably).

#include "base/SafeBuf.h"

#include <string>

inline const unsigned short* U16(const char16_t* s)
{
    return reinterpret_cast<const unsigned short*>(s);
}

inline CSafeBuf Wide(const char16_t* s)
{
    return CSafeBuf(U16(s));
}

inline CSafeBuf Wide(const std::string& ascii)
{
    CSafeBuf out;
    out = ascii.c_str();   // bytes zero-extended
    return out;
}

// UTF-8 form of the units (surrogates written as three-byte sequences, which
// is enough to compare and print test results).
inline std::string Utf8(const unsigned short* s, int length)
{
    std::string out;
    for (int i = 0; i < length; ++i)
    {
        unsigned int c = s[i];
        if (c < 0x80)
        {
            out += static_cast<char>(c);
        }
        else if (c < 0x800)
        {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

inline std::string Utf8(const CSafeBuf& text)
{
    return Utf8(static_cast<const unsigned short*>(text), text.Length());
}
