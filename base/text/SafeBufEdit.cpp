// CSafeBuf editing: appending, inserting, removing, searching, replacing,
// comparing, extracting, case changes and tab/line-break layout.

#include "base/text/SafeBuf.h"

#include "base/text/Ascii.h"
#include "base/text/U16.h"
#include "base/text/UnitScan.h"

#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

typedef std::vector<unsigned short> Units;

// n bytes of 8-bit text widened one byte to one unit, terminated.
Units Widened(const char* text, int n, bool signExtend)
{
    Units u(static_cast<size_t>(n) + 1, 0);
    for (int i = 0; i < n; ++i)
        u[i] = signExtend ? static_cast<unsigned short>(static_cast<signed char>(text[i]))
                          : static_cast<unsigned char>(text[i]);
    return u;
}

Units ZeroExtended(const char* text, int n) { return Widened(text, n, false); }
Units SignExtended(const char* text, int n) { return Widened(text, n, true); }

inline bool IsTrimSpace(unsigned short c, unsigned short extra)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || (extra != 0 && c == extra);
}

} // namespace

// ---------------------------------------------------------------- inserting

int CSafeBuf::InsertUnits(int pos, const unsigned short* src, int n)
{
    if (!src || n <= 0 || n > INT_MAX - 1 - m_length)
        return 0;
    if (pos >= m_length && n <= m_capacity - m_length) {
        // Appended within the capacity: the buffer stays, so the text may
        // even come from this string.
        std::memmove(m_text + m_length, src, static_cast<size_t>(n) * sizeof(unsigned short));
        SetLength(m_length + n);
        return n;
    }
    Units aliased;
    if (Owns(src)) {
        // Text taken from this very string: copy it before the buffer moves.
        aliased.assign(src, src + n);
        src = aliased.data();
    }
    if (pos < 0)
        pos = 0;
    if (pos > m_length)
        pos = m_length;
    int oldLength = m_length;
    if (!Grow(static_cast<long>(oldLength) + n, true))
        return 0;
    std::memmove(
        m_text + pos + n, m_text + pos, static_cast<size_t>(oldLength - pos) * sizeof(unsigned short));
    std::memcpy(m_text + pos, src, static_cast<size_t>(n) * sizeof(unsigned short));
    SetLength(oldLength + n);
    return n;
}

CSafeBuf& CSafeBuf::operator+=(const CSafeBuf& other)
{
    InsertUnits(m_length, other.m_text, other.m_length);
    return *this;
}

CSafeBuf& CSafeBuf::operator+=(const unsigned short* text)
{
    InsertUnits(m_length, text, U16len(text));
    return *this;
}

CSafeBuf& CSafeBuf::operator+=(unsigned short* text)
{
    return operator+=(static_cast<const unsigned short*>(text));
}

CSafeBuf& CSafeBuf::operator+=(unsigned short ch)
{
    if (m_length < m_capacity) {
        // Room for the unit and the terminator.
        m_text[m_length] = ch;
        SetLength(m_length + 1);
        return *this;
    }
    InsertUnits(m_length, &ch, 1);
    return *this;
}

void CSafeBuf::AppendBytes(const char* text, int n)
{
    if (!text || n <= 0 || n > INT_MAX - 1 - m_length)
        return;
    if (Owns(text)) {
        // Bytes of this very string's buffer: widened first, then appended.
        Units u = ZeroExtended(text, n);
        InsertUnits(m_length, u.data(), n);
        return;
    }
    const int oldLength = m_length;
    if (!Grow(static_cast<long>(oldLength) + n, true))
        return;
    unsigned short* to = m_text + oldLength;
    for (int i = 0; i < n; ++i)
        to[i] = static_cast<unsigned char>(text[i]);
    SetLength(oldLength + n);
}

CSafeBuf& CSafeBuf::operator+=(const char* text)
{
    if (text)
        AppendBytes(text, U16len(text));
    return *this;
}

CSafeBuf& CSafeBuf::operator+=(const unsigned char* text)
{
    return operator+=(reinterpret_cast<const char*>(text));
}

void CSafeBuf::Append(const unsigned short* text) { InsertUnits(m_length, text, U16len(text)); }

int CSafeBuf::Insert(int pos, const unsigned short* text, int count)
{
    if (!text || count == 0)
        return 0;
    if (count < 0)
        count = U16len(text);
    return InsertUnits(pos, text, count);
}

int CSafeBuf::Insert(int pos, const char* text, int count)
{
    if (!text || count == 0)
        return 0;
    if (count < 0)
        count = U16len(text);
    Units u = SignExtended(text, count);
    return InsertUnits(pos, u.data(), count);
}

int CSafeBuf::Insert(int pos, unsigned short ch) { return InsertUnits(pos, &ch, 1); }

// ---------------------------------------------------------------- removing

int CSafeBuf::Delete(int pos, int count)
{
    if (count > 0 && pos >= 0 && pos < m_length) {
        if (count > m_length - pos)
            count = m_length - pos;
        std::memmove(m_text + pos, m_text + pos + count,
            static_cast<size_t>(m_length - pos - count) * sizeof(unsigned short));
        SetLength(m_length - count);
    }
    return m_length;
}

void CSafeBuf::RemoveBeginTo(int i)
{
    if (i < 0)
        return;
    if (i >= m_length - 1)
        SetLength(0);
    else
        Delete(0, i + 1);
}

int CSafeBuf::Remove(unsigned short ch)
{
    if (ch == 0)
        return 0;
    int w = 0;
    for (int r = 0; r < m_length; ++r)
        if (m_text[r] != ch)
            m_text[w++] = m_text[r];
    int removed = m_length - w;
    if (removed)
        SetLength(w);
    return removed;
}

void CSafeBuf::TrimLeft(unsigned short extra)
{
    int k = 0;
    while (k < m_length && IsTrimSpace(m_text[k], extra))
        ++k;
    if (k)
        Delete(0, k);
}

void CSafeBuf::TrimRight(unsigned short extra)
{
    int n = m_length;
    while (n > 0 && IsTrimSpace(m_text[n - 1], extra))
        --n;
    if (n != m_length)
        SetLength(n);
}

void CSafeBuf::Trim(unsigned short extra)
{
    TrimRight(extra);
    TrimLeft(extra);
}

// ---------------------------------------------------------------- searching

int CSafeBuf::Find(unsigned short ch, int start) const
{
    if (start < 0)
        start = 0;
    if (start >= m_length)
        return -1;
    // The terminator's index is searched too, so Find(0) answers the length.
    for (int i = start; i <= m_length; ++i)
        if (m_text[i] == ch)
            return i;
    return -1;
}

int CSafeBuf::ReverseFind(unsigned short ch) const
{
    for (int i = m_length - 1; i >= 0; --i)
        if (m_text[i] == ch)
            return i;
    return -1;
}

int CSafeBuf::Find(const unsigned short* text, int start, bool matchCase) const
{
    if (!text || !text[0])
        return -1;
    if (start < 0)
        start = 0;
    // Only where the first unit stands can the text start: those places are
    // found a word at a time. A string that holds the first unit nowhere
    // answers without counting the text (often longer than the string).
    size_t from = static_cast<size_t>(start);
    if (matchCase && start < m_length) {
        from = qm::text::NextUnit(m_text, from, static_cast<size_t>(m_length), text[0]);
        if (from >= static_cast<size_t>(m_length))
            return -1;
    }
    const int n = U16len(text);
    if (n > m_length)
        return -1;
    if (start > m_length - n)
        return -1;
    const int last = m_length - n;
    if (matchCase) {
        const size_t stop = static_cast<size_t>(last) + 1;
        for (size_t i = from; i < stop; i = qm::text::NextUnit(m_text, i + 1, stop, text[0])) {
            if (U16ncmp(m_text + i, text, n) == 0)
                return static_cast<int>(i);
        }
        return -1;
    }
    for (int i = start; i <= last; ++i) {
        if (U16nicmp(m_text + i, text, n) == 0)
            return i;
    }
    return -1;
}

int CSafeBuf::Find(const char* text, int start, bool matchCase) const
{
    if (!text)
        return -1;
    Units u = SignExtended(text, U16len(text));
    return Find(u.data(), start, matchCase);
}

int CSafeBuf::Replace(const unsigned short* oldText, const unsigned short* newText, bool matchCase)
{
    int oldLength = U16len(oldText);
    if (oldLength == 0)
        return 0;
    // Private copies: either argument may point into this string.
    Units oldUnits(oldText, oldText + oldLength + 1);
    int newLength = U16len(newText);
    Units newUnits(static_cast<size_t>(newLength) + 1, 0);
    if (newLength)
        std::memcpy(newUnits.data(), newText, static_cast<size_t>(newLength) * sizeof(unsigned short));

    // The matches first, each search going on after the previous match, so
    // new text that contains the old one is never replaced again; then the
    // result is built once.
    std::vector<int> matches;
    for (int pos = 0; pos < m_length;) {
        int at = Find(oldUnits.data(), pos, matchCase);
        if (at < 0)
            break;
        matches.push_back(at);
        pos = at + oldLength;
    }
    if (matches.empty())
        return 0;
    const long length = m_length + static_cast<long>(matches.size()) * (newLength - oldLength);
    CSafeBuf result;
    if (!result.Grow(length, false))
        return 0; // out of memory: the text stays as it was
    unsigned short* out = result.m_text;
    int from = 0;
    for (int at : matches) {
        std::memcpy(out, m_text + from, static_cast<size_t>(at - from) * sizeof(unsigned short));
        out += at - from;
        std::memcpy(out, newUnits.data(), static_cast<size_t>(newLength) * sizeof(unsigned short));
        out += newLength;
        from = at + oldLength;
    }
    std::memcpy(out, m_text + from, static_cast<size_t>(m_length - from) * sizeof(unsigned short));
    result.SetLength(static_cast<int>(length));
    // The buffer only grows: a result that fits is copied into it.
    if (length <= m_capacity)
        AssignUnits(result.m_text, static_cast<int>(length));
    else
        ReplaceWith(&result);
    return static_cast<int>(matches.size());
}

int CSafeBuf::Replace(const char* oldText, const char* newText)
{
    if (!oldText)
        return 0;
    Units o = SignExtended(oldText, U16len(oldText));
    Units n = SignExtended(newText ? newText : "", U16len(newText));
    return Replace(o.data(), n.data(), true);
}

int CSafeBuf::Replace(const char* oldText, const unsigned short* newText)
{
    if (!oldText)
        return 0;
    Units o = SignExtended(oldText, U16len(oldText));
    return Replace(o.data(), newText, true);
}

// ---------------------------------------------------------------- comparing

bool CSafeBuf::operator==(const CSafeBuf& other) const
{
    return m_length == other.m_length
        && std::memcmp(m_text, other.m_text, static_cast<size_t>(m_length) * sizeof(unsigned short)) == 0;
}

bool CSafeBuf::operator!=(const CSafeBuf& other) const { return !operator==(other); }

bool CSafeBuf::operator==(const unsigned short* text) const { return text && U16cmp(m_text, text) == 0; }

bool CSafeBuf::operator!=(const unsigned short* text) const { return text && U16cmp(m_text, text) != 0; }

namespace {

// Unit-by-unit over the first length + 1 positions against the sign-extended
// bytes. The walk stops at the first difference and at the 8-bit text's
// terminator, which is never read past: a zero unit inside the string (legal
// after Copy, Append or +=) matches that terminator, and the texts are equal
// only when it stands at the string's length.
bool EqualsSignExtended(const unsigned short* units, int length, const char* text)
{
    for (int i = 0; i <= length; ++i) {
        if (units[i] != static_cast<unsigned short>(static_cast<signed char>(text[i])))
            return false;
        if (text[i] == 0)
            return i == length;
    }
    return true;
}

} // namespace

bool CSafeBuf::operator==(const char* text) const
{
    return text && EqualsSignExtended(m_text, m_length, text);
}

bool CSafeBuf::operator!=(const char* text) const
{
    return text && !EqualsSignExtended(m_text, m_length, text);
}

int CSafeBuf::CompareNoCase(const unsigned short* text) const { return U16icmp(m_text, text); }

int CSafeBuf::CompareNoCase(const char* text) const
{
    if (!text)
        return 1;
    // ASCII widens the same with its sign or without: compared as it is,
    // with no widened copy made (attribute and keyword names, nearly always).
    const char* p = text;
    while (*p && static_cast<unsigned char>(*p) < 0x80)
        ++p;
    if (!*p)
        return U16icmp(m_text, text);
    Units u = ZeroExtended(text, U16len(text));
    return U16icmp(m_text, u.data());
}

// ---------------------------------------------------------------- extracting

CSafeBuf CSafeBuf::Left(int n) const
{
    CSafeBuf out;
    if (n > m_length)
        n = m_length;
    if (n >= 1)
        out.AssignUnits(m_text, n);
    return out;
}

CSafeBuf CSafeBuf::Right(int n) const
{
    CSafeBuf out;
    if (n > m_length)
        n = m_length;
    if (n >= 1)
        out.AssignUnits(m_text + m_length - n, n);
    return out;
}

CSafeBuf CSafeBuf::Mid(int start, int count) const
{
    CSafeBuf out;
    if (start < 0)
        start = 0;
    if (start >= m_length || count < 1)
        return out;
    if (count > m_length - start)
        count = m_length - start;
    out.AssignUnits(m_text + start, count);
    return out;
}

void CSafeBuf::Right(int n, CSafeBuf* out) const
{
    if (!out)
        return;
    if (n > m_length)
        n = m_length;
    // out may be this string itself: AssignUnits moves a part of its own
    // buffer to the front instead of reallocating under it.
    if (n >= 1)
        out->AssignUnits(m_text + m_length - n, n);
}

// ---------------------------------------------------------------- case

void CSafeBuf::MakeUpper()
{
    U16upr(m_text);
    Changed();
}

void CSafeBuf::MakeLower()
{
    U16lwr(m_text);
    Changed();
}

void CSafeBuf::MakeCapitalize()
{
    bool wordStart = true;
    for (int i = 0; i < m_length; ++i) {
        unsigned short c = m_text[i];
        if (IsAsciiLower(c)) {
            if (wordStart)
                m_text[i] = static_cast<unsigned short>(c - 'a' + 'A');
            wordStart = false;
        } else if (IsAsciiUpper(c)) {
            wordStart = false;
        } else {
            wordStart = true;
        }
    }
    Changed();
}

// ---------------------------------------------------------------- layout

void CSafeBuf::ConvertUnixToAnsiCR()
{
    int lone = 0;
    for (int i = 0; i < m_length; ++i)
        if (m_text[i] == '\r' && m_text[i + 1] != '\n')
            ++lone;
    if (lone == 0 || lone > INT_MAX - 1 - m_length)
        return;
    Units out;
    out.reserve(static_cast<size_t>(m_length) + lone);
    for (int i = 0; i < m_length; ++i) {
        out.push_back(m_text[i]);
        if (m_text[i] == '\r' && m_text[i + 1] != '\n')
            out.push_back('\n');
    }
    AssignUnits(out.data(), static_cast<int>(out.size()));
}

// Each TAB becomes fill followed by as many further fills as reach the next
// multiple of tab. The column is not reset by line breaks. Any tab width is
// handled; the text is rebuilt rather than filled from a fixed-size pad.
void CSafeBuf::ExpandTAB(int tab, unsigned short fill)
{
    if (tab < 1 || Find(static_cast<unsigned short>('\t')) < 0)
        return;
    long long total = 0;
    long long column = 0;
    for (int i = 0; i < m_length; ++i) {
        if (m_text[i] == '\t') {
            total += tab - column % tab;
            column = 0;
        } else {
            ++total;
            ++column;
        }
        if (total > INT_MAX - 1)
            return; // the expansion would not fit a string; leave the text
    }
    Units out;
    out.reserve(static_cast<size_t>(total));
    column = 0;
    for (int i = 0; i < m_length; ++i) {
        if (m_text[i] == '\t') {
            out.insert(out.end(), static_cast<size_t>(tab - column % tab), fill);
            column = 0;
        } else {
            out.push_back(m_text[i]);
            ++column;
        }
    }
    AssignUnits(out.data(), static_cast<int>(out.size()));
}

int CSafeBuf::RealPostionFromExpandedPos(int expandedPos, int tab) const
{
    if (tab < 2 || m_length == 0)
        return expandedPos;
    long long c = 0;
    for (int i = 0; i < m_length; ++i) {
        if (m_text[i] == '\t')
            c = static_cast<long long>(tab) * (c / tab + 1);
        else
            ++c;
        if (c > expandedPos)
            return i;
    }
    return m_length;
}

int CSafeBuf::GetAdjustPosForTAB(int pos, bool toTabEnd, int tab) const
{
    if (tab < 2)
        return pos;
    int end = pos < m_length ? pos : m_length;
    long long c = 0;
    for (int i = 0; i < end; ++i) {
        if (m_text[i] == '\t')
            c = static_cast<long long>(tab) * (c / tab + 1);
        else
            ++c;
    }
    if (toTabEnd && pos >= 0 && pos < m_length && m_text[pos] == '\t')
        c = (c / tab + 1) * tab - 1;
    return c > INT_MAX ? INT_MAX : static_cast<int>(c);
}
