// CSafeBuf formatting of integers, UTF-8 conversion, XML escaping and raw
// 16-bit file input/output.
//
// Integer formats come from callers as printf-style text with one integer
// conversion. Before the C formatter sees one, it is checked and rewritten so
// that the conversion reads exactly the argument we pass: a stray %s, %n, '*'
// or a second conversion can therefore never read a missing argument.
//
// The system's integers are 32 bits wide, so a conversion without a length
// modifier formats the value as a 32-bit int (unsigned for u o x X); "h" and
// "hh" narrow it to 16 and 8 bits as printf does, and "l", "ll" (or any other
// wide modifier) keep all 64 bits. %c always prints one char.

#include "base/text/SafeBuf.h"

#include "base/codec/Escaping.h"
#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/text/Ascii.h"
#include "base/text/LowBytes.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"
#include "platform/common/Utf8.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// How wide the value is taken, from the conversion's length modifier.
enum class IntWidth
{
    Char,
    Short,
    Int,
    Wide
};

struct IntConversion
{
    char type = 0; // d i o u x X c; 0 for a format without one
    IntWidth width = IntWidth::Int;
};

// Rewrites format into out with the length modifier of its one conversion (if
// any) replaced: "ll" for a wide one, none otherwise (the value is then
// narrowed by FormatLong and passed as an int). False for a format that cannot
// be given one argument safely.
bool RewriteIntFormat(const char* format, std::string& out, IntConversion* conv)
{
    *conv = IntConversion();
    bool seen = false;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += "%%";
            ++p;
            continue;
        }
        if (seen)
            return false;
        seen = true;
        out += '%';
        ++p;
        while (*p && std::strchr("-+ #0'", *p))
            out += *p++;
        int digits = 0;
        while (IsAsciiDigit(*p)) {
            out += *p++;
            if (++digits > 4)
                return false; // widths beyond 9999 are cut anyway; refuse absurd ones
        }
        if (*p == '.') {
            out += *p++;
            digits = 0;
            while (IsAsciiDigit(*p)) {
                out += *p++;
                if (++digits > 4)
                    return false;
            }
        }
        int shorts = 0;
        bool wide = false;
        while (*p && std::strchr("hlqjztL", *p)) {
            if (*p == 'h')
                ++shorts;
            else
                wide = true;
            ++p;
        }
        if (!*p || !std::strchr("diouxXc", *p))
            return false;
        conv->type = *p;
        if (wide)
            conv->width = IntWidth::Wide;
        else if (shorts >= 2)
            conv->width = IntWidth::Char;
        else if (shorts == 1)
            conv->width = IntWidth::Short;
        if (*p != 'c' && conv->width == IntWidth::Wide)
            out += "ll";
        out += *p;
    }
    return true;
}

// Formats value into at most limit bytes; false for an unusable format.
bool FormatLong(const char* format, long value, size_t limit, std::string& text)
{
    if (!format)
        return false;
    std::string safe;
    IntConversion conv;
    if (!RewriteIntFormat(format, safe, &conv))
        return false;
    const bool isSigned = conv.type == 'd' || conv.type == 'i';
    std::vector<char> buf(limit + 1, 0);
    int n = 0;
    if (conv.type == 'c') {
        n = std::snprintf(buf.data(), buf.size(), safe.c_str(), static_cast<int>(value));
    } else if (conv.width == IntWidth::Wide) {
        n = isSigned
            ? std::snprintf(buf.data(), buf.size(), safe.c_str(), static_cast<long long>(value))
            : std::snprintf(buf.data(), buf.size(), safe.c_str(), static_cast<unsigned long long>(value));
    } else if (isSigned) {
        int narrowed = static_cast<std::int32_t>(value);
        if (conv.width == IntWidth::Short)
            narrowed = static_cast<std::int16_t>(value);
        else if (conv.width == IntWidth::Char)
            narrowed = static_cast<std::int8_t>(value);
        n = std::snprintf(buf.data(), buf.size(), safe.c_str(), narrowed);
    } else {
        unsigned int narrowed = static_cast<std::uint32_t>(value);
        if (conv.width == IntWidth::Short)
            narrowed = static_cast<std::uint16_t>(value);
        else if (conv.width == IntWidth::Char)
            narrowed = static_cast<std::uint8_t>(value);
        n = std::snprintf(buf.data(), buf.size(), safe.c_str(), narrowed);
    }
    if (n < 0)
        return false;
    size_t len = static_cast<size_t>(n) < limit ? static_cast<size_t>(n) : limit;
    text.assign(buf.data(), len);
    return true;
}

} // namespace

bool CSafeBuf::FormatInt(const char* format, long value)
{
    std::string text;
    if (!FormatLong(format, value, 7999, text)) {
        ClearBuffer();
        return false;
    }
    ClearBuffer();
    Append(text.data(), static_cast<int>(text.size()));
    return true;
}

bool CSafeBuf::AppendInt(const char* format, long value)
{
    std::string text;
    if (!FormatLong(format, value, 999, text))
        return false;
    Append(text.data(), static_cast<int>(text.size()));
    return true;
}

void CSafeBuf::AppendInt(long value)
{
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%ld", value);
    if (n > 0)
        Append(buf, n);
}

void CSafeBuf::AppendInt(int value) { AppendInt(static_cast<long>(value)); }

// ---------------------------------------------------------------- UTF-8

void CSafeBuf::AssignUTF8(const unsigned char* utf8)
{
    const char* bytes = reinterpret_cast<const char*>(utf8);
    AssignUTF8(bytes, bytes ? U16len(bytes) : 0);
}

void CSafeBuf::AssignUTF8(const char* bytes, int length)
{
    if (!bytes || length <= 0) {
        ClearBuffer();
        return;
    }
    const auto* utf8 = reinterpret_cast<const unsigned char*>(bytes);
    if (Owns(bytes)) {
        // Bytes inside this string's own buffer: decoded elsewhere first.
        unsigned short* units = nullptr;
        int n = UTF82Unicode(utf8, &units, length, true);
        if (!units)
            return;
        AssignUnits(units, n);
        delete[] units;
        return;
    }
    // Decoded straight into the buffer: a byte gives at most one unit.
    if (!Grow(length, false))
        return;
    SetLength(UTF82UnicodeInto(utf8, length, m_text));
}

void CSafeBuf::AssignUTF8(const char* utf8) { AssignUTF8(reinterpret_cast<const unsigned char*>(utf8)); }

void CSafeBuf::AssignUTF8(const unsigned short* widened)
{
    if (!widened) {
        ClearBuffer();
        return;
    }
    // A zero low byte ends the UTF-8 text, as it would in an 8-bit string.
    AssignUTF8(LowBytes(widened).c_str());
}

int CSafeBuf::CreateUTF8Str(char** out) const
{
    if (!out)
        return 0;
    *out = nullptr;
    unsigned char* utf8 = nullptr;
    int n = Unicode2UTF8(m_text, &utf8, m_length, false);
    if (!utf8)
        return 0;
    // An empty string still gets a small array holding the empty text.
    size_t room = n > 0 ? static_cast<size_t>(n) + 1 : 10;
    char* result = new (std::nothrow) char[room];
    if (result) {
        std::memset(result, 0, room);
        std::memcpy(result, utf8, static_cast<size_t>(n));
    }
    std::free(utf8);
    *out = result;
    return result ? n : 0;
}

int CSafeBuf::CopyUTF8Str(char* dst, int size) const
{
    if (!dst || size < 1)
        return 0;
    unsigned char* utf8 = nullptr;
    int n = Unicode2UTF8(m_text, &utf8, m_length, false);
    if (!utf8) {
        dst[0] = 0;
        return 0;
    }
    int cut = n < size - 1 ? n : size - 1;
    // Never end inside a multi-byte character: step back to its lead byte.
    while (cut > 0 && cut < n && qm::utf8::IsContinuation(utf8[cut]))
        --cut;
    std::memcpy(dst, utf8, static_cast<size_t>(cut));
    dst[cut] = 0;
    std::free(utf8);
    return cut;
}

// ---------------------------------------------------------------- escaping

void CSafeBuf::EscapeXML() { EscapeXMLChar(*this, false); }

// ---------------------------------------------------------------- files

bool CSafeBuf::SaveAs(const unsigned short* path) const
{
    if (m_length > INT_MAX / static_cast<int>(sizeof(unsigned short)))
        return false;
    return WriteToFile(
        path, reinterpret_cast<const char*>(m_text), m_length * static_cast<int>(sizeof(unsigned short)));
}

bool CSafeBuf::LoadFile(const unsigned short* path)
{
    // Whole units only (an odd last byte is dropped), at most what a string holds.
    const size_t maxBytes = static_cast<size_t>(INT_MAX - 2) * sizeof(unsigned short) + 1;
    std::vector<unsigned char> bytes;
    if (!ReadFileBytes(PathToSystem(path), bytes, maxBytes))
        return false;
    const int units = static_cast<int>(bytes.size() / sizeof(unsigned short));
    if (!Grow(units, false))
        return false;
    if (units > 0)
        std::memcpy(m_text, bytes.data(), static_cast<size_t>(units) * sizeof(unsigned short));
    SetLength(units);
    return true;
}
