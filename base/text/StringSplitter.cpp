// CStringSplitter: each grammar is one forward scan over the private copy of
// the text that records units as offsets. No scan reads past the copy's
// length, whatever the input (an unterminated quote or a trailing backslash
// simply leaves the last rule incomplete).

#include "base/text/StringSplitter.h"

#include "base/text/U16.h"

#include <algorithm>
#include <new>

namespace {

bool IsWhite(unsigned short c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsLineBreak(unsigned short c) { return c == '\n' || c == '\r'; }

} // namespace

CStringSplitter::CStringSplitter(const unsigned short* text, int mode, unsigned short separator)
{
    if (text != nullptr)
        ParseString(text, mode, separator);
}

CStringSplitter::~CStringSplitter() { ReleaseLink(); }

void CStringSplitter::ReleaseLink()
{
    m_units.RemoveAll();
    m_cursor = nullptr;
    delete[] m_text;
    m_text = nullptr;
    m_length = 0;
}

bool CStringSplitter::ParseString(const unsigned short* text, int mode, unsigned short separator)
{
    ReleaseLink();
    if (text == nullptr)
        return false;
    m_text = U16dup(text);
    if (m_text == nullptr)
        return false;
    m_length = U16len(m_text);

    switch (mode) {
    case 0: ParseRules(); break;
    case 1: ParseNameLines(); break;
    case 2: ParseDeclarations(separator); break;
    case 3: ParseList(separator); break;
    case 5: ParseLines(); break;
    default: break;
    }
    m_cursor = nullptr;
    return true;
}

void CStringSplitter::ResetGet() { m_cursor = m_units.Head(); }

void CStringSplitter::CopyPart(int offset, int length, CSafeBuf* out, bool trim) const
{
    if (out == nullptr)
        return;
    out->Empty();
    if (m_text == nullptr || offset < 0 || length <= 0 || offset >= m_length)
        return;
    length = std::min(length, m_length - offset);
    out->Append(m_text + offset, length);
    if (trim)
        out->Trim();
}

bool CStringSplitter::GetNext(CSafeBuf* name, CSafeBuf* value, bool trim, CSafeBuf* comment)
{
    if (m_cursor == nullptr)
        return false;
    CopyPart(m_cursor->nameOffset, m_cursor->nameLength, name, trim);
    CopyPart(m_cursor->valueOffset, m_cursor->valueLength, value, trim);
    CopyPart(m_cursor->commentOffset, m_cursor->commentLength, comment, trim);
    m_cursor = m_cursor->next;
    return true;
}

int CStringSplitter::GetCount() const { return m_units.Count(); }

StringUnit* CStringSplitter::GetLastUnit() const { return m_units.Tail(); }

void CStringSplitter::AddUnit(StringUnit* unit) { m_units.LinkTail(unit); }

void CStringSplitter::AddUnit(int nameOffset, int nameLength, int valueOffset, int valueLength)
{
    StringUnit* unit = new (std::nothrow) StringUnit;
    if (unit == nullptr)
        return;
    unit->nameOffset = nameOffset;
    unit->nameLength = nameLength;
    unit->valueOffset = valueOffset;
    unit->valueLength = valueLength;
    AddUnit(unit);
}

// Mode 0: selector { body }. Quotes and backslash escapes make braces inert;
// only the brace that brings the depth from 1 to 0 completes a rule. A "}"
// at depth 0 makes the depth negative, and nothing after it is a rule.
void CStringSplitter::ParseRules()
{
    int unitStart = 0;
    int valueStart = -1;
    int depth = 0;
    unsigned short quote = 0;
    bool escaped = false;
    for (int i = 0; i < m_length; ++i) {
        unsigned short c = m_text[i];
        if (escaped) {
            escaped = false;
            continue;
        }
        if (c == '\\') {
            escaped = true;
            continue;
        }
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            continue;
        }
        if (c == '{') {
            if (depth == 0)
                valueStart = i + 1;
            ++depth;
        } else if (c == '}') {
            --depth;
            if (depth == 0 && valueStart >= 0) {
                AddUnit(unitStart, valueStart - 1 - unitStart, valueStart, i - valueStart);
                unitStart = i + 1;
                valueStart = -1;
            } else if (depth < 0) {
                return;
            }
        }
    }
}

// Mode 1: "name<white>value" lines. A name followed directly by a line break
// (or by the end of the text) has no value and gives no unit.
void CStringSplitter::ParseNameLines()
{
    int i = 0;
    while (i < m_length) {
        while (i < m_length && IsWhite(m_text[i]))
            ++i;
        if (i >= m_length)
            return;
        const int nameStart = i;
        while (i < m_length && !IsWhite(m_text[i]))
            ++i;
        const int nameLength = i - nameStart;
        if (i >= m_length)
            return;
        if (IsLineBreak(m_text[i]))
            continue;
        while (i < m_length && IsWhite(m_text[i]))
            ++i;
        if (i >= m_length)
            return;
        const int valueStart = i;
        while (i < m_length && !IsLineBreak(m_text[i]))
            ++i;
        AddUnit(nameStart, nameLength, valueStart, i - valueStart);
    }
}

// Mode 2: "name<sep>value;" declarations.
void CStringSplitter::ParseDeclarations(unsigned short separator)
{
    const unsigned short sep = separator == ';' ? ':' : separator;
    int i = 0;
    while (i < m_length) {
        while (i < m_length && (IsWhite(m_text[i]) || m_text[i] == ';'))
            ++i;
        if (i >= m_length)
            return;
        const int nameStart = i;
        while (i < m_length && m_text[i] != sep && m_text[i] != ';')
            ++i;
        const int nameLength = i - nameStart;
        if (i >= m_length || m_text[i] == ';') {
            AddUnit(nameStart, nameLength, i, 0);
            continue;
        }
        ++i; // past the separator
        while (i < m_length && IsWhite(m_text[i]))
            ++i;
        const int valueStart = i;
        while (i < m_length && m_text[i] != ';')
            ++i;
        AddUnit(nameStart, nameLength, valueStart, i - valueStart);
    }
}

// Mode 3: items separated by one unit (or by any of space, ',' and ';' when
// the separator is 0, where runs of separators count as one).
void CStringSplitter::ParseList(unsigned short separator)
{
    auto isSeparator = [separator](unsigned short c) {
        return separator == 0 ? (c == ' ' || c == ',' || c == ';') : c == separator;
    };
    int i = 0;
    while (i < m_length) {
        while (i < m_length && (IsWhite(m_text[i]) || (separator == 0 && isSeparator(m_text[i]))))
            ++i;
        if (i >= m_length)
            return;
        if (separator != 0 && separator != ' ' && m_text[i] == separator) {
            AddUnit(0, 0, i, 0);
            ++i;
            continue;
        }
        const int start = i;
        while (i < m_length && !isSeparator(m_text[i]))
            ++i;
        AddUnit(0, 0, start, i - start);
        if (i < m_length)
            ++i; // past the separator that ended the item
    }
}

// Mode 5: lines split at LF; a CR before the LF stays in the value.
void CStringSplitter::ParseLines()
{
    int start = 0;
    for (int i = 0; i < m_length; ++i) {
        if (m_text[i] == '\n') {
            AddUnit(0, 0, start, i - start);
            start = i + 1;
        }
    }
    if (start < m_length)
        AddUnit(0, 0, start, m_length - start);
}
