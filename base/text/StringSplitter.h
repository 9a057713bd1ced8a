#pragma once
// CStringSplitter cuts one UTF-16 text into units, each a name and a value,
// by one of five grammars (modes):
//   0  CSS rules: selector text as name, the body between the outermost
//      braces as value ("}" in quotes and nested braces stay in the value);
//   1  lines of a name, white space and a value;
//   2  declarations "name<sep>value" ended by ';' (a separator of ';'
//      means ':');
//   3  separated lists, value only (separator 0: any of space, ',' and ';');
//   5  lines split at LF, value only.
// The text is copied once; units are offsets into that copy, read back in
// order with ResetGet and GetNext.

#include "base/collections/SinglyLinkedList.h"
#include "base/text/SafeBuf.h"

struct StringUnit
{
    int nameOffset = 0;
    int nameLength = 0;
    int valueOffset = 0;
    int valueLength = 0;
    int commentOffset = 0; // comments are never recognised; always empty
    int commentLength = 0;
    StringUnit* next = nullptr;
};

class CStringSplitter
{
public:
    CStringSplitter() = default;
    // When text is not null, parses it at once.
    CStringSplitter(const unsigned short* text, int mode, unsigned short separator);
    ~CStringSplitter();
    CStringSplitter(const CStringSplitter&) = delete;
    CStringSplitter& operator=(const CStringSplitter&) = delete;

    // Drops earlier units, copies text and builds its units. The read cursor
    // is left empty (call ResetGet). False only for a null text. Modes other
    // than 0, 1, 2, 3 and 5 give no units.
    bool ParseString(const unsigned short* text, int mode, unsigned short separator);
    // Puts the cursor on the first unit; needed before the first GetNext.
    void ResetGet();
    // Copies the current unit into the outputs that are given (trimmed of
    // space, TAB, LF, CR when trim is set) and advances. False when there is
    // no current unit.
    bool GetNext(CSafeBuf* name, CSafeBuf* value, bool trim = false, CSafeBuf* comment = nullptr);
    int GetCount() const;
    StringUnit* GetLastUnit() const;
    // Appends a unit allocated by the caller with new; the splitter owns it
    // from then on. Its offsets must lie within the copied text.
    void AddUnit(StringUnit* unit);
    // Frees the units and the copy.
    void ReleaseLink();

private:
    void AddUnit(int nameOffset, int nameLength, int valueOffset, int valueLength);
    void ParseRules();
    void ParseNameLines();
    void ParseDeclarations(unsigned short separator);
    void ParseList(unsigned short separator);
    void ParseLines();
    void CopyPart(int offset, int length, CSafeBuf* out, bool trim) const;

    SinglyLinkedList<StringUnit> m_units;
    StringUnit* m_cursor = nullptr;
    unsigned short* m_text = nullptr;
    int m_length = 0;
};
