#pragma once
// Conversions between test literals and CSafeBuf, so that a test can write
// its texts as u"..." or UTF-8 literals and compare results as std::string
// (failures then print readably).
//
// Two ways lead from a CSafeBuf to UTF-8, and they differ on purpose:
//   Utf8    encodes unit by unit; a surrogate half becomes a three-byte
//           sequence of its own, so every unit stays visible (a lone
//           surrogate never hides behind a replacement character).
//   ToUtf8  goes through CSafeBuf's own conversion, which joins surrogate
//           pairs into one four-byte sequence.

#include "base/text/LowBytes.h"
#include "base/text/SafeBuf.h"

#include <string>

namespace qmtest {

// ---- into the system's UTF-16 units -------------------------------------

inline const unsigned short* U16(const char16_t* s) { return reinterpret_cast<const unsigned short*>(s); }

inline const unsigned short* U16(const std::u16string& s)
{
    return reinterpret_cast<const unsigned short*>(s.c_str());
}

inline CSafeBuf Wide(const char16_t* s) { return CSafeBuf(U16(s)); }

// Bytes zero-extended, one unit each.
inline CSafeBuf Wide(const std::string& ascii)
{
    CSafeBuf out;
    out = ascii.c_str();
    return out;
}

inline CSafeBuf FromUtf8(const char* utf8)
{
    CSafeBuf s;
    s.AssignUTF8(utf8);
    return s;
}

inline CSafeBuf FromUtf8(const std::string& utf8) { return FromUtf8(utf8.c_str()); }

// One unit per char, as the char converts (plain ASCII is what tests pass).
inline std::u16string U16String(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

// ---- out of CSafeBuf --------------------------------------------------------

// The exact units.
inline std::u16string U16String(const CSafeBuf& text)
{
    const unsigned short* p = text;
    return std::u16string(reinterpret_cast<const char16_t*>(p), static_cast<size_t>(text.Length()));
}

// UTF-8 unit by unit (see the top of the file).
inline std::string Utf8(const unsigned short* s, int length)
{
    std::string out;
    for (int i = 0; i < length; ++i) {
        unsigned int c = s[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
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

// UTF-8 as CSafeBuf converts it (see the top of the file). A null text of
// units converts as empty text.
inline std::string ToUtf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    const int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes ? bytes : "", bytes && n > 0 ? static_cast<size_t>(n) : 0);
    delete[] bytes;
    return out;
}

// A u"..." text after an edit in place (edit takes a CSafeBuf&), unit by
// unit as Utf8 gives it.
template <typename Edit>
std::string Edited(const char16_t* text, Edit edit)
{
    CSafeBuf buf = Wide(text);
    edit(buf);
    return Utf8(buf);
}

// The low byte of every unit: for texts that carry bytes one per unit.
inline std::string LowBytes(const CSafeBuf& text)
{
    return ::LowBytes(static_cast<const unsigned short*>(text), text.Length());
}

// True when the text holds exactly these units.
inline bool Equals(const CSafeBuf& text, const char16_t* expected) { return text == U16(expected); }

} // namespace qmtest
