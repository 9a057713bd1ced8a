#pragma once
// CTagName: an element's tag name, held once for all the elements that bear
// it. The texts are kept in a process-wide table, one entry for each name,
// for as long as an element holds that name; an element holds a pointer.
// The name reads as a zero-terminated text (empty for a text run) and is
// changed only as a whole (Assign). One thread uses the table.

// Room of a tag name: 101 characters and the terminator. A longer tag is cut
// to 101 characters.
constexpr int kTagNameUnits = 102;

class CTagName
{
public:
    CTagName() = default;
    // Inline: most handles (text runs) hold no name and cost nothing to drop.
    ~CTagName()
    {
        if (m_entry)
            Drop(m_entry);
    }
    CTagName(const CTagName&) = delete;
    CTagName& operator=(const CTagName&) = delete;

    // The first n units of text (at most kTagNameUnits - 1; a zero unit ends
    // the name earlier).
    void Assign(const unsigned short* text, int n);
    // The name other holds, without a look-up in the table (for a maker of
    // many elements that keeps a handle of each name it gives).
    void Share(const CTagName& other)
    {
        // Counted first: other may be this handle.
        Entry* old = m_entry;
        m_entry = other.m_entry;
        if (m_entry)
            ++m_entry->refs;
        if (old)
            Drop(old);
    }

    const unsigned short* Get() const { return m_entry ? m_entry->text : kEmpty; }
    operator const unsigned short*() const { return Get(); }
    int Length() const { return m_entry ? m_entry->length : 0; }
    // The tag's default presentation (DefaultStyleClass in
    // style/cascade/DefaultStyle.h), found when the name entered the table:
    // 0 for none and for the empty name.
    unsigned char DefaultStyleClass() const { return m_entry ? m_entry->defaultStyle : 0; }

    // Names in the table (for tests).
    static unsigned long NameCount();

    struct Entry
    {
        unsigned long refs;
        int length;
        unsigned char defaultStyle;
        unsigned short text[kTagNameUnits];
    };

private:
    // Uncounts e, taken out of the table with its last holder.
    static void Drop(Entry* e);
    static const unsigned short kEmpty[1];
    Entry* m_entry = nullptr;
};
