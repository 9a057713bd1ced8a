// Right-to-left text tests and the reordering applied before a run is drawn
// left to right. There is no full bidirectional algorithm: a run of Hebrew or
// Arabic units is the unit of reordering, '?' and '!' take the direction of
// the right-to-left text they end, and a few neutrals (spaces, digits,
// brackets, slashes) never change the direction.

#include "base/text/RightToLeft.h"

#include "base/text/Ascii.h"
#include "base/text/SafeBuf.h"

#include <cstddef>
#include <vector>

namespace {

inline bool IsRtl(unsigned short c) { return IsCharHebrew(c) || IsCharArabic(c); }
inline bool IsRtlOrMark(unsigned short c) { return IsRtl(c) || c == '?' || c == '!'; }

inline bool IsNeutral(unsigned short c)
{
    switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '(':
    case ')':
    case '[':
    case ']':
    case '{':
    case '}':
    case '\\':
    case '/': return true;
    default: return IsAsciiDigit(c);
    }
}

} // namespace

bool IsCharHebrew(unsigned short ch) { return ch >= 0x0590 && ch <= 0x05FF; }

bool IsCharArabic(unsigned short ch)
{
    return (ch >= 0x0600 && ch <= 0x06FF) || (ch >= 0xFB50 && ch <= 0xFDFF) || (ch >= 0xFE70 && ch <= 0xFEFF);
}

bool CSafeBuf::HasHebrew() const
{
    for (int i = 0; i < m_length; ++i)
        if (IsCharHebrew(m_text[i]))
            return true;
    return false;
}

bool CSafeBuf::HasArabic() const
{
    for (int i = 0; i < m_length; ++i)
        if (IsCharArabic(m_text[i]))
            return true;
    return false;
}

bool CSafeBuf::HasArabicOrHebrew() const
{
    for (int i = 0; i < m_length; ++i)
        if (IsRtlOrMark(m_text[i]))
            return true;
    return false;
}

bool CSafeBuf::HasLetterAndArabicOrHebrew() const
{
    bool letter = false, rtl = false;
    for (int i = 0; i < m_length && !(letter && rtl); ++i) {
        if (IsAsciiLetter(m_text[i]))
            letter = true;
        else if (IsRtl(m_text[i]))
            rtl = true;
    }
    return letter && rtl;
}

int CSafeBuf::IsMixedText(int* pos) const { return IsMixedTextFrom(0, pos); }

int CSafeBuf::IsMixedTextFrom(int from, int* pos) const
{
    enum
    {
        kNone,
        kRtlFirst,
        kLtrFirst
    } state
        = kNone;
    bool prevAlnum = false;
    for (int i = from < 0 ? 0 : from; i < m_length; ++i) {
        unsigned short c = m_text[i];
        if (c == '.' && i > from && state != kRtlFirst && !prevAlnum) {
            if (pos)
                *pos = i;
            return 1;
        }
        if (IsRtlOrMark(c)) {
            if (state == kNone) {
                state = kRtlFirst;
            } else if (state == kLtrFirst) {
                if (pos)
                    *pos = i;
                return 2;
            }
        } else if (!IsNeutral(c)) {
            if (state == kNone) {
                state = kLtrFirst;
            } else if (state == kRtlFirst) {
                if (pos)
                    *pos = i;
                return 1;
            }
        }
        prevAlnum = IsAsciiAlnum(c);
    }
    return 0;
}

bool CSafeBuf::HasEndSentence() const { return IsMixedText(nullptr) == 1; }

void ReserveText(CSafeBuf& text, bool wholeLine)
{
    int n = text.Length();
    if (n < 2)
        return;
    unsigned short* units = text;
    if (!wholeLine) {
        for (int i = 0; i < n;) {
            if (!IsRtl(units[i])) {
                ++i;
                continue;
            }
            int end = i;
            while (end < n && IsRtl(units[end]))
                ++end;
            for (int a = i, b = end - 1; a < b; ++a, --b) {
                unsigned short t = units[a];
                units[a] = units[b];
                units[b] = t;
            }
            i = end;
        }
        return;
    }

    // Every unit is placed exactly once, each placement in front of what is
    // already there, so the result is filled from its end.
    std::vector<unsigned short> result(static_cast<size_t>(n));
    size_t front = result.size();
    std::vector<unsigned short> run;
    bool marked = false;
    auto putFront = [&](const unsigned short* p, size_t k) {
        front -= k;
        for (size_t j = 0; j < k; ++j)
            result[front + j] = p[j];
    };
    for (int i = 0; i < n; ++i) {
        unsigned short c = units[i];
        if (IsRtl(c)) {
            run.push_back(c);
            marked = true;
        } else if (c == ' ' && marked) {
            run.push_back(c);
        } else {
            if (!run.empty())
                putFront(run.data(), run.size());
            run.clear();
            marked = false;
            putFront(&c, 1);
        }
    }
    if (!run.empty())
        putFront(run.data(), run.size());
    for (int i = 0; i < n; ++i)
        units[i] = result[static_cast<size_t>(i)];
}
