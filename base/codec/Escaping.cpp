// Escaping and unescaping of text in place. Each function builds the result
// in a second buffer and hands it over with ReplaceWith, so nothing is
// rescanned after a replacement.

#include "base/codec/Escaping.h"

#include "base/codec/Hex.h"
#include "base/text/Ascii.h"

#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

void AppendReference(CSafeBuf& out, unsigned long code)
{
    out += "&#";
    out.AppendInt(static_cast<long>(code));
    out += ';';
}

} // namespace

namespace {

// The text with the characters for which reference(i) answers a reference
// replaced by it; runs of characters that stay are appended whole.
template <class Reference>
void AppendReplaced(CSafeBuf& out, const unsigned short* s, int length, Reference reference)
{
    int kept = 0;
    for (int i = 0; i < length; ++i) {
        const char* r = reference(i);
        if (!r)
            continue;
        out.Append(s + kept, i - kept);
        out += r;
        kept = i + 1;
    }
    out.Append(s + kept, length - kept);
}

const char* MarkupReference(unsigned short c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
    }
}

} // namespace

namespace {

// Whether s[i] of a text is written as a reference (see EscapeXMLChar).
bool NeedsReference(const unsigned short* s, int i, bool spaces)
{
    const unsigned short c = s[i];
    if (c > '>')
        return false; // most of a text: no test more
    return c == '&' || c == '<' || c == '>' || c == '"' || (spaces && c == ' ' && i > 0 && s[i - 1] == ' ');
}

#if defined(__SSE2__)
// Two bits for each of the eight units from i on (i >= 1) that
// NeedsReference answers true for.
unsigned BlockMask(const unsigned short* s, int i, bool spaces)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i hit = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('&')), _mm_cmpeq_epi16(v, _mm_set1_epi16('<'))),
        _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('>')), _mm_cmpeq_epi16(v, _mm_set1_epi16('"'))));
    if (spaces) {
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i - 1));
        const __m128i blank = _mm_set1_epi16(' ');
        hit = _mm_or_si128(hit, _mm_and_si128(_mm_cmpeq_epi16(v, blank), _mm_cmpeq_epi16(before, blank)));
    }
    return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
#endif

// The first index from i on that NeedsReference answers true for, or
// length. Text is the most of a written document: eight units are tested
// at once where the processor can, and a block holding none is passed over
// whole. The units after the last whole block are tested as the last eight
// units of the text, those before i left out.
int NextReference(const unsigned short* s, int i, int length, bool spaces)
{
#if defined(__SSE2__)
    if (i == 0 && length > 0) {
        if (NeedsReference(s, 0, spaces))
            return 0;
        i = 1; // the block test below reads the unit before each block
    }
    for (; i + 8 <= length; i += 8) {
        const unsigned mask = BlockMask(s, i, spaces);
        if (mask != 0)
            return i + __builtin_ctz(mask) / 2;
    }
    if (i < length && length >= 9) {
        const int last = length - 8; // 1 <= last < i
        const unsigned mask = BlockMask(s, last, spaces) & (~0u << (2 * (i - last)));
        return mask != 0 ? last + __builtin_ctz(mask) / 2 : length;
    }
#endif
    while (i < length && !NeedsReference(s, i, spaces))
        ++i;
    return i;
}

} // namespace

void AppendEscapedXML(CSafeBuf& out, const unsigned short* s, int length, bool spaces)
{
    int kept = 0;
    for (int i = NextReference(s, 0, length, spaces); i < length;
         i = NextReference(s, i + 1, length, spaces)) {
        out.Append(s + kept, i - kept);
        if (s[i] == ' ')
            out.AppendLiteral("&#160;");
        else
            out += MarkupReference(s[i]);
        kept = i + 1;
    }
    out.Append(s + kept, length - kept);
}

void AppendEscapedXMLAttribute(CSafeBuf& out, const unsigned short* s, int length)
{
    // The units written as references, as bits by their value: most units
    // of a value are passed over by one test.
    constexpr unsigned long long kReferenced
        = 1ull << '\t' | 1ull << '\n' | 1ull << '\r' | 1ull << '"' | 1ull << '&' | 1ull << '<' | 1ull << '>';
    AppendReplaced(out, s, length, [&](int i) -> const char* {
        if (s[i] >= 64 || !(kReferenced >> s[i] & 1))
            return nullptr;
        switch (s[i]) {
        case '\t': return "&#9;";
        case '\n': return "&#10;";
        case '\r': return "&#13;";
        default: return MarkupReference(s[i]);
        }
    });
}

void EscapeXMLChar(CSafeBuf& text, bool spaces)
{
    const int length = text.Length();
    const unsigned short* s = text;
    if (NextReference(s, 0, length, spaces) == length)
        return;

    CSafeBuf out;
    out.PrepareBufferSize(length + length / 4); // room only
    out.ClearBuffer();
    AppendEscapedXML(out, s, length, spaces);
    text.ReplaceWith(&out);
}

void EscapeHTMLUnicode(CSafeBuf& text)
{
    const int length = text.Length();
    const unsigned short* s = text;
    bool needed = false;
    for (int i = 0; i < length && !needed; ++i)
        needed = s[i] > 255 || s[i] == 0xA0;
    if (!needed)
        return;

    CSafeBuf out;
    for (int i = 0; i < length; ++i) {
        unsigned short c = s[i];
        if (c < 256 && c != 0xA0) {
            out += c;
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            unsigned long code
                = 0x10000 + ((static_cast<unsigned long>(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            AppendReference(out, code);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            AppendReference(out, 0xFFFD);
        } else {
            AppendReference(out, c);
        }
    }
    text.ReplaceWith(&out);
}

void ValidateAttribute(CSafeBuf& value, bool doubleQuoted)
{
    if (doubleQuoted)
        value.Replace("\"", "&#34;");
    else
        value.Replace("'", "&#39;");
}

void EscapeString(CSafeBuf& text)
{
    const int length = text.Length();
    const unsigned short* s = text;
    if (text.Find('\\') < 0)
        return;

    CSafeBuf out;
    int i = 0;
    while (i < length) {
        unsigned short c = s[i];
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        ++i; // past the backslash
        if (i >= length)
            break; // a backslash at the end disappears
        unsigned short e = s[i];
        if (e == 'r') {
            out += static_cast<unsigned short>('\r');
            ++i;
            continue;
        }
        if (e == 'n') {
            out += static_cast<unsigned short>('\n');
            ++i;
            continue;
        }
        if (e == 't') {
            out += static_cast<unsigned short>('\t');
            ++i;
            continue;
        }
        if (IsAsciiHexDigit(e)) {
            if (i + 1 < length && IsAsciiHexDigit(s[i + 1])) {
                out += static_cast<unsigned short>(CHex::DeHex(e) * 16 + CHex::DeHex(s[i + 1]));
                i += 2;
                continue;
            }
            // One digit only: it is dropped and the next character is the escaped one.
            ++i;
            if (i >= length)
                break;
            out += s[i];
            ++i;
            continue;
        }
        out += e;
        ++i;
    }
    text.ReplaceWith(&out);
}

namespace {

template <class Unit>
unsigned UnitAt(const Unit* s, size_t i)
{
    return static_cast<std::make_unsigned_t<Unit>>(s[i]);
}

// Whether the name of n units at p starts with prefix.
template <class Unit>
bool NameStartsWith(const Unit* p, size_t n, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i) {
        if (i >= n || UnitAt(p, i) != static_cast<unsigned char>(prefix[i]))
            return false;
    }
    return true;
}

template <class Unit>
size_t RemovedEnd(const Unit* s, size_t length, size_t i)
{
    // A named reference: a letter, '_' or ':', then name characters, then
    // ';' at most 14 characters after the '&'.
    if (i >= length || UnitAt(s, i) != '&' || i + 1 >= length)
        return i;
    const unsigned first = UnitAt(s, i + 1);
    if (!IsAsciiLetter(first) && first != '_' && first != ':')
        return i;
    for (size_t j = i + 2; j < length && j <= i + 14; ++j) {
        const unsigned c = UnitAt(s, j);
        if (c == ';') {
            const Unit* name = s + i + 1;
            const size_t n = j - i - 1;
            const bool predefined = NameStartsWith(name, n, "lt") || NameStartsWith(name, n, "gt")
                || NameStartsWith(name, n, "amp") || NameStartsWith(name, n, "quot")
                || NameStartsWith(name, n, "apos");
            return predefined ? i : j + 1;
        }
        if (!IsAsciiAlnum(c) && c != '.' && c != '-' && c != '_' && c != ':')
            return i;
    }
    return i;
}

} // namespace

size_t RemovedReferenceEnd(const unsigned short* s, size_t length, size_t i)
{
    return RemovedEnd(s, length, i);
}

size_t RemovedReferenceEnd(const char* s, size_t length, size_t i) { return RemovedEnd(s, length, i); }

void RemoveXMLAllEscape(CSafeBuf& text, bool remove)
{
    if (!remove || text.Find('&') < 0)
        return;

    const size_t length = static_cast<size_t>(text.Length());
    const unsigned short* s = text;
    CSafeBuf out;
    out.PrepareBufferSize(static_cast<long>(length)); // room only
    out.ClearBuffer();
    // Runs of kept text are copied whole.
    size_t kept = 0;
    size_t i = 0;
    while (i < length) {
        const size_t end = s[i] == '&' ? RemovedEnd(s, length, i) : i;
        if (end == i) {
            ++i;
            continue;
        }
        out.Append(s + kept, static_cast<int>(i - kept));
        kept = i = end;
    }
    out.Append(s + kept, static_cast<int>(length - kept));
    text.ReplaceWith(&out);
}
