// CSrcText: node texts of the markup tree, in arena, heap or lasting room.

#include "document/SrcElementText.h"

#include "base/text/SafeBuf.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"
#include "document/SrcElementArena.h"

#include <cstring>

unsigned short CSrcText::s_empty[1] = {0};

void CSrcText::FreeHeap()
{
    if (OnHeap())
        delete[] m_units;
    m_units = s_empty;
    m_capacity = 0;
}

unsigned short* CSrcText::Room(int n, int keep)
{
    if (n <= m_capacity)
        return m_units;
    // Growing text doubles its room, so appending stays linear.
    int capacity = n;
    if (keep > 0 && capacity < 2 * m_capacity)
        capacity = 2 * m_capacity;
    unsigned short* room = m_arena ? m_arena->AllocateUnits(capacity) : new unsigned short[capacity + 1];
    if (keep > 0)
        std::memcpy(room, m_units, static_cast<size_t>(keep) * sizeof(unsigned short));
    FreeHeap();
    m_units = room;
    m_capacity = capacity;
    return room;
}

void CSrcText::Empty()
{
    if (m_capacity) {
        m_units[0] = 0;
    } else {
        m_units = s_empty;
    }
    m_length = 0;
}

void CSrcText::Assign(const unsigned short* units, int n)
{
    if (!units || n <= 0) {
        Empty();
        return;
    }
    if (m_capacity && units >= m_units && units <= m_units + m_length) {
        // A part of this text: moved within its own room.
        std::memmove(m_units, units, static_cast<size_t>(n) * sizeof(unsigned short));
    } else {
        std::memcpy(Room(n, 0), units, static_cast<size_t>(n) * sizeof(unsigned short));
    }
    m_units[n] = 0;
    m_length = n;
}

void CSrcText::AssignLasting(const unsigned short* units, int n)
{
    FreeHeap();
    m_units = const_cast<unsigned short*>(units); // never written: capacity 0
    m_length = n;
    m_capacity = 0;
}

CSrcText& CSrcText::operator=(const char* text)
{
    if (!text)
        return *this;
    const int n = static_cast<int>(std::strlen(text));
    unsigned short* room = Room(n, 0);
    for (int i = 0; i < n; ++i)
        room[i] = static_cast<unsigned char>(text[i]);
    room[n] = 0;
    m_length = n;
    return *this;
}

CSrcText& CSrcText::operator=(const unsigned short* text)
{
    if (text)
        Assign(text, U16len(text));
    return *this;
}

CSrcText& CSrcText::operator=(const CSafeBuf& text)
{
    Assign(text, text.Length());
    return *this;
}

void CSrcText::AssignUTF8(const unsigned char* utf8, int length, bool crlf)
{
    if (!utf8 || length <= 0) {
        Empty();
        return;
    }
    // A byte gives at most one unit, and a line feed at most two.
    int feeds = 0;
    if (crlf) {
        for (const unsigned char* p = utf8; (p = static_cast<const unsigned char*>(std::memchr(
                                                 p, '\n', static_cast<size_t>(utf8 + length - p))));
             ++p)
            ++feeds;
    }
    unsigned short* room = Room(length + feeds, 0);
    int n = UTF82UnicodeInto(utf8, length, room);
    int bare = 0;
    for (int i = 0; feeds && i < n; ++i)
        bare += room[i] == '\n' && (i == 0 || room[i - 1] != '\r');
    if (bare) {
        // Spread from the back: each bare line feed takes a carriage return.
        int to = n + bare;
        for (int from = n - 1; from >= 0; --from) {
            room[--to] = room[from];
            if (room[from] == '\n' && (from == 0 || room[from - 1] != '\r'))
                room[--to] = '\r';
        }
        n += bare;
    }
    room[n] = 0;
    m_length = n;
}

void CSrcText::Append(const unsigned short* units, int n)
{
    if (!units || n <= 0)
        return;
    if (units >= m_units && units <= m_units + m_length) {
        // Appending a part of itself: copied out first, as room may move.
        CSafeBuf copy;
        copy.Copy(units, n);
        Append(copy, n);
        return;
    }
    unsigned short* room = Room(m_length + n, m_length);
    std::memcpy(room + m_length, units, static_cast<size_t>(n) * sizeof(unsigned short));
    m_length += n;
    room[m_length] = 0;
}

CSrcText& CSrcText::operator+=(const char* text)
{
    if (!text)
        return *this;
    const int n = static_cast<int>(std::strlen(text));
    unsigned short* room = Room(m_length + n, m_length);
    for (int i = 0; i < n; ++i)
        room[m_length + i] = static_cast<unsigned char>(text[i]);
    m_length += n;
    room[m_length] = 0;
    return *this;
}

CSrcText& CSrcText::operator+=(const unsigned short* text)
{
    if (text)
        Append(text, U16len(text));
    return *this;
}

CSrcText& CSrcText::operator+=(const CSrcText& text)
{
    Append(text.m_units, text.m_length);
    return *this;
}

namespace {

bool IsTrimSpace(unsigned short c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

} // namespace

void CSrcText::Trim()
{
    int end = m_length;
    while (end > 0 && IsTrimSpace(m_units[end - 1]))
        --end;
    int start = 0;
    while (start < end && IsTrimSpace(m_units[start]))
        ++start;
    if (start == 0 && end == m_length)
        return;
    Assign(m_units + start, end - start);
}

bool CSrcText::operator==(const char* text) const
{
    if (!text)
        return false;
    // As CSafeBuf compares with 8-bit text: bytes sign-extended, the whole
    // text and its terminator.
    for (int i = 0; i <= m_length; ++i) {
        const unsigned short c = static_cast<unsigned short>(static_cast<signed char>(text[i]));
        if (m_units[i] != c)
            return false;
        if (!text[i])
            return i == m_length;
    }
    return false;
}

bool CSrcText::operator==(const CSrcText& other) const
{
    return m_length == other.m_length
        && std::memcmp(m_units, other.m_units, static_cast<size_t>(m_length) * sizeof(unsigned short)) == 0;
}

int CSrcText::CompareNoCase(const char* text) const
{
    if (!text)
        return 1;
    CSafeBuf wide;
    wide = text;
    return U16icmp(m_units, wide);
}
