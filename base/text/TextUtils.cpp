// Small text utilities. Working copies are std::string or CSafeBuf, never
// fixed arrays, so no input length can overflow them.

#include "base/text/TextUtils.h"

#include "base/text/Ascii.h"
#include "base/text/LowBytes.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsReferenceChar(unsigned short c) { return IsAsciiAlnum(c) || c == '#'; }

bool IsLineChar(unsigned short c) { return c == '\r' || c == '\n' || c == '\t'; }

bool IsQuote(unsigned short c) { return c == '"' || c == '\''; }

// Position of needle in text[from, length), or -1.
int FindIn(const unsigned short* text, int length, int from, const unsigned short* needle, int needleLength)
{
    for (int i = from; i + needleLength <= length; ++i) {
        if (U16ncmp(text + i, needle, needleLength) == 0)
            return i;
    }
    return -1;
}

// Compares two slots of at most width units, a slot without terminator
// ending at its width.
int CompareSlots(const unsigned short* a, const unsigned short* b, int width)
{
    for (int i = 0; i < width; ++i) {
        if (a[i] != b[i])
            return a[i] > b[i] ? 1 : -1;
        if (a[i] == 0)
            return 0;
    }
    return 0;
}

unsigned int Byte(const char* bytes, long i) { return static_cast<unsigned char>(bytes[i]); }

unsigned int Byte(const unsigned short* units, long i) { return LowByte(units[i]); }

template <typename T>
unsigned int ReadPacked(const T* data, long pos, long size, int kind)
{
    if (data == nullptr || pos < 0 || pos >= size)
        return 0;
    const long need = (kind == 0 || kind == 2) ? 2 : 4;
    if (size - pos < need)
        return 0;
    switch (kind) {
    case 0: return Byte(data, pos) | (Byte(data, pos + 1) << 8);
    case 1:
        return Byte(data, pos) | (Byte(data, pos + 1) << 8) | (Byte(data, pos + 2) << 16)
            | (Byte(data, pos + 3) << 24);
    case 2: return (Byte(data, pos) << 8) | Byte(data, pos + 1);
    default:
        return (Byte(data, pos) << 24) | (Byte(data, pos + 1) << 16) | (Byte(data, pos + 2) << 8)
            | Byte(data, pos + 3);
    }
}

// Glob matching with '*' and '?' over equal-case strings; linear backtracking
// on the last star.
bool GlobMatch(const std::string& pattern, const std::string& name)
{
    size_t p = 0, n = 0;
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool IsWordSeparator(unsigned short c)
{
    return c == ' ' || c == ')' || c == '?' || c == '*' || c == '%' || c == '!' || c == '}' || c == ']'
        || c == '-' || c == 150 || c == 248 || c > 10000;
}

template <typename T, typename Unit>
int ReadIntValue(const T* text, Unit after)
{
    if (text == nullptr)
        return -1;
    auto unit = [](T c) { return static_cast<unsigned int>(static_cast<Unit>(c)); };
    const T* p = text;
    if (after != 0) {
        while (*p && unit(*p) != static_cast<unsigned int>(after))
            ++p;
        if (*p == 0)
            return -1;
        ++p;
    }
    while (*p && !IsAsciiDigit(unit(*p)))
        ++p;
    if (*p == 0)
        return -1;
    long long value = 0;
    for (int digits = 0; digits < 99 && IsAsciiDigit(unit(*p)); ++digits, ++p) {
        if (value <= INT_MAX)
            value = value * 10 + (unit(*p) - '0');
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace

// One pass with a read position r and a write position w (w <= r): the text
// as it stands is text[0, w) followed by text[r, length). Units before a
// section are moved down once, a removed section is skipped, and nothing is
// searched twice except the few units before w whose begin marker or except
// text a removal may have completed (rewound, so the result is that of
// searching again from the start after every removal). Once a begin marker
// has no end after it, no later one has, and the rest is kept as it is.
int RemoveSectionInString(unsigned short* text, const unsigned short* begin, const unsigned short* end,
    const unsigned short* except, int length)
{
    if (text == nullptr || begin == nullptr || end == nullptr)
        return 0;
    if (length < 0)
        length = U16len(text);
    if (length == 0)
        return 0;
    const int beginLength = U16len(begin);
    const int endLength = U16len(end);
    const int exceptLength = except ? U16len(except) : 0;
    if (beginLength == 0 || endLength == 0)
        return length; // an empty marker would match everywhere

    const auto move = [text](int to, int from, int count) {
        if (count > 0 && to != from)
            std::memmove(text + to, text + from, sizeof(unsigned short) * static_cast<size_t>(count));
    };
    int w = 0, r = 0;
    while (r < length) {
        const int start = FindIn(text, length, r, begin, beginLength);
        if (start < 0)
            break;
        move(w, r, start - r);
        w += start - r;
        r = start;
        const int afterBegin = start + beginLength;
        if (exceptLength > 0 && afterBegin + exceptLength <= length
            && U16ncmp(text + afterBegin, except, exceptLength) == 0) {
            text[w++] = text[r++]; // this section stays; look again one unit on
            continue;
        }
        const int stop = FindIn(text, length, afterBegin, end, endLength);
        if (stop < 0)
            break;
        r = stop + endLength;
        // Units just before the joint may now start a begin marker, or see
        // different text after theirs: put them back in front of r.
        const int rewind = std::min(w, beginLength + exceptLength - 1);
        move(r - rewind, w - rewind, rewind);
        w -= rewind;
        r -= rewind;
    }
    if (w == r)
        return length; // nothing removed: the text is left as it was
    move(w, r, length - r);
    length = w + (length - r);
    text[length] = 0;
    return length;
}

void RemoveQuote(unsigned short* text)
{
    if (text == nullptr || text[0] == 0)
        return;
    int length = U16len(text);
    if (IsQuote(text[0])) {
        std::memmove(text, text + 1, sizeof(unsigned short) * length); // terminator included
        --length;
    }
    if (length > 0 && IsQuote(text[length - 1]))
        text[length - 1] = 0;
}

void SortString(unsigned short* table, int count, int width)
{
    if (table == nullptr || count < 2 || width < 1)
        return;
    std::vector<unsigned short> swap(static_cast<size_t>(width));
    const size_t bytes = sizeof(unsigned short) * static_cast<size_t>(width);
    for (int pass = 0; pass < count - 1; ++pass) {
        bool swapped = false;
        for (int i = 0; i < count - 1 - pass; ++i) {
            unsigned short* a = table + static_cast<long>(i) * width;
            unsigned short* b = a + width;
            if (CompareSlots(a, b, width) > 0) {
                std::memcpy(swap.data(), a, bytes);
                std::memcpy(a, b, bytes);
                std::memcpy(b, swap.data(), bytes);
                swapped = true;
            }
        }
        if (!swapped)
            break;
    }
}

bool IsPositionInsideEntity(const unsigned short* text, int pos)
{
    if (text == nullptr || pos < 1)
        return false;
    const int length = U16len(text);
    if (pos >= length)
        return false;

    for (int i = pos - 1, seen = 0;; --i, ++seen) {
        if (i < 0 || seen >= 11)
            return false;
        if (text[i] == '&')
            break;
        if (!IsReferenceChar(text[i]))
            return false;
    }
    for (int i = pos, seen = 0;; ++i, ++seen) {
        if (i >= length || seen >= 11)
            return false;
        if (text[i] == ';')
            break;
        if (!IsReferenceChar(text[i]))
            return false;
    }
    return true;
}

bool CheckNameConvention(const unsigned short* name, int length)
{
    if (name == nullptr)
        return false;
    if (length < 0)
        length = U16len(name);
    if (length == 0 || IsAsciiDigit(name[0]))
        return false;
    for (int i = 0; i < length; ++i) {
        unsigned short c = name[i];
        if (!(IsAsciiAlnum(c) || c == '_' || c == '-' || c > 0xA0))
            return false;
    }
    return true;
}

bool IsStringOnlyNumber(const unsigned short* text, int length, bool allowSignAndPoint)
{
    if (text == nullptr)
        return false;
    if (length < 0)
        length = U16len(text);
    if (length == 0)
        return false;
    bool point = false;
    for (int i = 0; i < length; ++i) {
        unsigned short c = text[i];
        if (IsAsciiDigit(c))
            continue;
        if (allowSignAndPoint && c == '-' && i == 0)
            continue;
        if (allowSignAndPoint && c == '.' && !point) {
            point = true;
            continue;
        }
        return false;
    }
    return true;
}

bool IsCharSymbol(unsigned short ch) { return ch < 128 && !IsAsciiAlnum(ch); }

unsigned int GetInt(const char* bytes, long pos, long size, int kind)
{
    return ReadPacked(bytes, pos, size, kind);
}

unsigned int GetInt(const unsigned short* units, long pos, long size, int kind)
{
    return ReadPacked(units, pos, size, kind);
}

bool ParseLengthStr(const unsigned short* text, int& value, int& unit)
{
    unit = 0;
    value = 0;
    if (text == nullptr)
        return true;
    long leading = U16toi(text);
    value = leading > INT_MAX ? INT_MAX : (leading < INT_MIN ? INT_MIN : static_cast<int>(leading));
    if (U16chr(text, '%')) {
        unit = 5;
        return true;
    }
    static const struct
    {
        const char* name;
        int code;
    } kScaled[] = {
        {"em", 1},
        {"cm", 2},
        {"mm", 3},
        {"in", 6},
    };
    for (const auto& entry : kScaled) {
        if (U16str(text, entry.name)) {
            const double number = u2f(text);
            // "nan", "inf" and numbers beyond the range of a double are no
            // length (and a cast of them to int is undefined).
            if (!std::isfinite(number)) {
                value = 0;
                return false;
            }
            unit = entry.code;
            const double scaled = number * 100.0;
            if (scaled >= INT_MAX)
                value = INT_MAX;
            else if (scaled <= INT_MIN)
                value = INT_MIN;
            else
                value = static_cast<int>(scaled);
            return true;
        }
    }
    if (U16str(text, "pt"))
        unit = 4;
    return true;
}

void UTF8Encoding(CSafeBuf& text)
{
    unsigned char* bytes = nullptr;
    int count = Unicode2UTF8(static_cast<const unsigned short*>(text), &bytes, text.Length(), true);
    if (bytes == nullptr)
        return;
    if (count > 0 || text.IsEmpty()) {
        CSafeBuf out;
        out.Append(reinterpret_cast<const char*>(bytes), count);
        text.ReplaceWith(&out);
    }
    delete[] bytes;
}

int TidyUnicodeString(CSafeBuf&) { return 0; }

bool WildcardComparePattern(const char* pattern, const char* name)
{
    if (pattern == nullptr || pattern[0] == 0)
        return true;
    if (name != nullptr && std::strcmp(pattern, name) == 0)
        return true;
    if (std::strcmp(pattern, "*") == 0 || std::strcmp(pattern, "*.*") == 0 || std::strcmp(pattern, ".*") == 0)
        return true;
    if (name == nullptr || name[0] == 0)
        return false;
    std::string p(pattern), n(name);
    for (char& c : p)
        c = LowerAscii(c);
    for (char& c : n)
        c = LowerAscii(c);
    return GlobMatch(p, n);
}

void TrimCR(CSafeBuf& text, int where)
{
    int length = text.Length();
    int first = 0;
    if (where <= 0) {
        while (first < length && IsLineChar(text.GetAt(first)))
            ++first;
    }
    int last = length;
    if (where >= 0) {
        while (last > first && IsLineChar(text.GetAt(last - 1)))
            --last;
    }
    if (last < length)
        text.CutAt(last);
    if (first > 0)
        text.Delete(0, first);
}

void RemoveCR(CSafeBuf& text)
{
    text.Remove('\r');
    text.Remove('\n');
    text.Remove('\t');
}

bool HasUpperCase(const CSafeBuf& text)
{
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        if (IsAsciiUpper(s[i]))
            return true;
    }
    return false;
}

void ReplaceLastWordWith(CSafeBuf& text, const unsigned short* word)
{
    if (word == nullptr)
        return;
    CSafeBuf replacement(word); // a copy: word may point into text
    const int length = text.Length();
    const int wordLength = replacement.Length();
    if (length < wordLength)
        return;
    if (length == wordLength) {
        text.ReplaceWith(&replacement);
        return;
    }
    int i = length - 1;
    while (i >= 0 && !(IsWordSeparator(text.GetAt(i)) && length - i > wordLength))
        --i;
    if (i < 0)
        text.Empty();
    else
        text.CutAt(i + 1);
    text += replacement;
}

void ReplaceLastWordWith(CSafeBuf& text, const char* word)
{
    if (word == nullptr)
        return;
    CSafeBuf wide;
    wide = word; // zero-extended
    ReplaceLastWordWith(text, static_cast<const unsigned short*>(wide));
}

int GetIntValue(const unsigned short* text, unsigned short after)
{
    return ReadIntValue<unsigned short, unsigned short>(text, after);
}

int GetIntValue(const char* text, char after) { return ReadIntValue<char, unsigned char>(text, after); }
