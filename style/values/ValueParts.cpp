#include "style/values/ValueParts.h"

#include "base/text/U16.h"

#include <cstring>

namespace {

// Whether text holds a character at position. The units before position
// are looked at first, so a position past the terminator is seen as such and
// nothing beyond the text is read.
bool HasCharacterAt(const unsigned short* text, int position)
{
    if (!text || position < 0)
        return false;
    for (int i = 0; i < position; ++i) {
        if (text[i] == 0)
            return false;
    }
    return text[position] != 0;
}

// The part at position up to the first separator of separatorLength units
// that find locates (null when there is none).
template <typename Find>
bool TakePart(const unsigned short* text, int& position, int separatorLength, Find find, CSafeBuf& part)
{
    if (!HasCharacterAt(text, position)) {
        part.Empty();
        return false;
    }
    const unsigned short* begin = text + position;
    const unsigned short* separator = find(begin);
    const int length = separator ? static_cast<int>(separator - begin) : U16len(begin);
    const int next = position + length + (separator ? separatorLength : 0);
    if (length == 0 && text[next] == 0) {
        position = next;
        part.Empty();
        return false;
    }
    // Copy handles a text that lies inside part itself.
    part.Copy(begin, length);
    position = next;
    return true;
}

// The position just after the first occurrence of start, or -1.
int After(const unsigned short* text, const unsigned short* start)
{
    if (!text || !start)
        return -1;
    const unsigned short* found = U16str(text, start);
    return found ? static_cast<int>(found - text) + U16len(start) : -1;
}

} // namespace

bool GetPartStr(const unsigned short* text, int& position, unsigned short separator, CSafeBuf& part)
{
    return TakePart(
        text, position, 1, [separator](const unsigned short* s) { return U16chr(s, separator); }, part);
}

bool GetPartStr(const unsigned short* text, int& position, const unsigned short* separator, CSafeBuf& part)
{
    const int separatorLength = U16len(separator);
    return TakePart(
        text, position, separatorLength,
        [separator, separatorLength](const unsigned short* s) -> const unsigned short* {
            return separatorLength > 0 ? U16str(s, separator) : nullptr;
        },
        part);
}

bool GetPartStr(
    const unsigned short* text, const unsigned short* start, unsigned short separator, CSafeBuf& part)
{
    int position = After(text, start);
    return GetPartStr(text, position, separator, part);
}

bool GetPartStr(
    const unsigned short* text, const unsigned short* start, const unsigned short* separator, CSafeBuf& part)
{
    int position = After(text, start);
    return GetPartStr(text, position, separator, part);
}

int CutString(unsigned short* text, int& length, int count, bool fromFront)
{
    if (!text)
        return 0;
    if (length < 0)
        length = 0;
    if (count < 0)
        count = 0;
    if (count > length)
        count = length;
    if (fromFront && count > 0)
        std::memmove(text, text + count, static_cast<size_t>(length - count) * sizeof(unsigned short));
    length -= count;
    text[length] = 0;
    return length;
}

const unsigned short* GetLine(
    const unsigned short* text, unsigned short* line, unsigned short separator, int maximum)
{
    if (line && maximum >= 0)
        line[0] = 0;
    if (!text || !*text || !line || maximum < 1)
        return nullptr;
    int n = 0;
    const unsigned short* p = text;
    while (*p && *p != separator && n < maximum)
        line[n++] = *p++;
    const bool complete = *p == 0 || *p == separator;
    if (complete) {
        while (n > 0 && (line[n - 1] == '\r' || line[n - 1] == '\n'))
            --n;
        if (*p)
            ++p;
    }
    line[n] = 0;
    return p;
}
