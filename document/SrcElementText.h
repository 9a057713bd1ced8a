#pragma once
// CSrcText: the tag or text of a markup tree node. It takes its room from
// the tree's arena (document/SrcElementArena.h) when it has one, else from
// the heap, and it can stand for a text that outlives the node (a tag
// table's form, a lone blank) without holding any room at all. It is never
// null: an empty text is "".
//
// A text is written over in place while it fits; room it leaves in an arena
// goes back with the arena.

class CSafeBuf;
class CSrcArena;

class CSrcText
{
public:
    CSrcText() = default;
    ~CSrcText() { FreeHeap(); }
    CSrcText(const CSrcText&) = delete;
    CSrcText& operator=(const CSrcText&) = delete;

    // Where the text takes room: arena, or the heap for null. The arena must
    // outlive the text. Only a text without room of its own (a new one)
    // changes where it takes room.
    void UseArena(CSrcArena* arena)
    {
        if (!m_capacity)
            m_arena = arena;
    }

    operator const unsigned short*() const { return m_units; }
    int Length() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    void Empty();

    // Null leaves the text as it is (as for CSafeBuf).
    CSrcText& operator=(const char* text); // bytes zero-extended
    CSrcText& operator=(const unsigned short* text);
    CSrcText& operator=(const CSafeBuf& text);
    // Exactly n units.
    void Assign(const unsigned short* units, int n);
    // Text that outlives this one, taken without a copy (units[n] is 0); it
    // is copied before any change.
    void AssignLasting(const unsigned short* units, int n);
    // length bytes of UTF-8, decoded as CSafeBuf::AssignUTF8 decodes them;
    // with crlf every line feed not after a carriage return gets one.
    void AssignUTF8(const unsigned char* utf8, int length, bool crlf);

    CSrcText& operator+=(const char* text); // zero-extended
    CSrcText& operator+=(const unsigned short* text);
    CSrcText& operator+=(const CSrcText& text);
    void Append(const unsigned short* units, int n);

    // Drops blanks, TABs, CRs and LFs from both ends.
    void Trim();

    bool operator==(const char* text) const; // sign-extended, as CSafeBuf compares
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator==(const CSrcText& other) const;
    bool operator!=(const CSrcText& other) const { return !(*this == other); }
    // 0 when equal, ASCII case ignored.
    int CompareNoCase(const char* text) const;

private:
    // Room for n units (and the terminator), keeping the first keep units.
    unsigned short* Room(int n, int keep);
    void FreeHeap();
    // The room came from the heap: room of its own, and no arena.
    bool OnHeap() const { return m_capacity && !m_arena; }

    static unsigned short s_empty[1];
    unsigned short* m_units = s_empty;
    int m_length = 0;
    int m_capacity = 0; // units that may be written (0: not this text's own room)
    CSrcArena* m_arena = nullptr;
};
