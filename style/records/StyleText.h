#pragma once
// CStyleText: a text field of a style record (a font family, a picture's
// address, a label), held as a pointer to an interned copy of the text.
//
// Style records are copied, compared and hashed byte for byte, and most of
// their text fields are empty or hold one of a few texts (the same families
// and addresses over and over). So a field holds no text room of its own:
// equal texts are interned once per process into immutable, terminated
// copies, and a field is the address of its copy. Zero bytes are the empty
// text, and equal texts have equal bytes, so a record stays a plain record
// that copies and compares as before.
//
// Room is the text room the field stands for, terminator included: a longer
// text is cut to Room - 1 units, as the fixed field cut it. Interned texts
// live as long as the process (they are few: the distinct values that style
// sheets and style attributes have given). One thread uses them (the
// editor's).

// The terminated interned copy of text cut to at most maxUnits units; null
// for an empty or null text.
const unsigned short* InternStyleText(const unsigned short* text, int maxUnits);
const unsigned short* InternStyleText(const char* text, int maxUnits);
// Interned texts (for tests and benchmarks).
unsigned long InternedStyleTextCount();

template <int Room>
class CStyleText
{
public:
    static_assert(Room > 1, "room for a unit and the terminator");

    // The text, terminated; never null (an empty text for an empty field).
    const unsigned short* Get() const { return m_text ? m_text : Empty(); }
    operator const unsigned short*() const { return Get(); }
    bool IsEmpty() const { return !m_text; }

    void Set(const unsigned short* text) { m_text = InternStyleText(text, Room - 1); }
    void Set(const char* text) { m_text = InternStyleText(text, Room - 1); }
    void Clear() { m_text = nullptr; }

    bool operator==(const CStyleText& other) const { return m_text == other.m_text; }
    bool operator!=(const CStyleText& other) const { return m_text != other.m_text; }

private:
    static const unsigned short* Empty()
    {
        static const unsigned short empty[1] = {0};
        return empty;
    }

    const unsigned short* m_text;
};
