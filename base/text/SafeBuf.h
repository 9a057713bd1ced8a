#pragma once
// CSafeBuf: the system's string. A growable buffer of UTF-16 code units that
// is always zero-terminated and owns its memory. Lengths, positions and the
// capacity count code units; surrogate pairs are two units like any other.
//
// Capacity model: the buffer holds capacity + 1 units (room for the
// terminator). It only ever grows, to twice the length that was needed (at
// least 10), so repeated appends are amortised linear. A string that has
// never held a unit owns no memory: it reads a shared terminator, has
// capacity 0, and takes a buffer at its first write (a tree holds many
// strings that stay empty, and a load makes many more for a moment). `Size` grows without keeping the old
// text (the caller is about to overwrite it); `Resize` keeps it.
//
// 8-bit text is widened one byte to one unit. Some operations zero-extend
// (byte 0xE9 becomes U+00E9), others sign-extend (0xE9 becomes 0xFFE9); each
// declaration below says which, and callers rely on the difference.
//
// A second, 8-bit buffer is kept for `GetAnsiBuffer`: the low byte of every
// unit, remade on each call.

#include <cstddef>
#include <cstdint>
#include <cstring>

class CTextArena;

class CSafeBuf
{
public:
    // Empty string, capacity 0 (no memory until the first write).
    CSafeBuf();
    // n >= 1: length n, units left for the caller to fill; n < 1: empty.
    explicit CSafeBuf(long n);
    explicit CSafeBuf(int n);
    // count copies of ch (empty when count < 1).
    CSafeBuf(unsigned short ch, int count);
    CSafeBuf(const unsigned short* text); // null: empty
    CSafeBuf(const unsigned char* text);  // bytes zero-extended
    CSafeBuf(const char* text);           // bytes SIGN-extended (0x80-0xFF -> 0xFF80-0xFFFF)
    CSafeBuf(const CSafeBuf& other);
    ~CSafeBuf();

    // ---- assignment (a null source leaves the string unchanged) ----
    CSafeBuf& operator=(const unsigned short* text);
    CSafeBuf& operator=(unsigned short* text);
    CSafeBuf& operator=(const char* text); // bytes zero-extended
    CSafeBuf& operator=(const CSafeBuf& other);
    // Exactly n units from src, zeros included; n < 0 or null src: nothing.
    void Copy(const unsigned short* src, int n);
    // Decodes UTF-8 into the string. Null or empty input gives the empty string.
    void AssignUTF8(const char* utf8);
    void AssignUTF8(const unsigned char* utf8);
    // The length bytes at utf8 (a zero byte among them is decoded as U+0000).
    void AssignUTF8(const char* utf8, int length);
    // UTF-8 that was widened byte by byte: the low byte of each unit is one UTF-8 byte.
    void AssignUTF8(const unsigned short* widened);
    // Replaces the text with one integer formatted by a printf-style format
    // holding one integer conversion (d i u o x X c, any length modifier, flags,
    // width, precision; "%%" allowed). Without a length modifier the value is
    // formatted as a 32-bit int (unsigned int for u o x X); "h" and "hh" narrow
    // it to short and char, "l" and "ll" keep all 64 bits. Output is cut at
    // 7999 bytes, bytes zero-extended. A format with any other conversion
    // empties the string and answers false.
    bool FormatInt(const char* format, long value);
    // Takes over source's buffer without copying; source becomes empty,
    // holding this string's old buffer (nothing is allocated).
    void ReplaceWith(CSafeBuf* source);
    void Empty();       // length 0 and the 8-bit copy emptied
    void ClearBuffer(); // length 0, the 8-bit copy untouched
    // Set the length to n (terminator written at n, new units not initialised).
    // Size discards the old text when it must grow; Resize keeps it. n < 0: nothing.
    void Size(int n);
    void Resize(int n);
    // Like Size(n); false only when the memory could not be had (string unchanged).
    bool PrepareBufferSize(long n);
    // Room for n units without a further allocation, the text kept: a
    // buffer that must grow gets exactly n (where a growth while appending
    // doubles). For a text whose final length is known roughly in advance.
    // False only when the memory could not be had (string unchanged).
    bool Reserve(long n);
    // As Reserve, for a string without memory: the buffer, exactly n units,
    // is cut from arena (see CTextArena), or taken as Reserve takes it when
    // the arena cannot give it. A string with memory just reserves.
    bool ReserveIn(CTextArena& arena, long n);
    // Recounts the length up to the first zero unit after direct writes.
    void BufferChanged();
    void AdjSize(int n); // truncate to n when length >= n
    void CutAt(int n);   // 0 <= n < length: truncate to n

    // ---- appending and inserting (null text does nothing) ----
    CSafeBuf& operator+=(const CSafeBuf& other);
    CSafeBuf& operator+=(const unsigned short* text);
    CSafeBuf& operator+=(unsigned short* text);
    CSafeBuf& operator+=(unsigned short ch);
    CSafeBuf& operator+=(const char* text);          // zero-extended
    CSafeBuf& operator+=(const unsigned char* text); // zero-extended
    // Exactly n bytes, zero-extended. Inline for the case of room enough:
    // a writer appends many short pieces, and the call would cost more than
    // the copy.
    void Append(const char* text, int n)
    {
        if (text && n > 0 && n <= m_capacity - m_length && !Owns(text)) {
            unsigned short* to = m_text + m_length;
            for (int i = 0; i < n; ++i)
                to[i] = static_cast<unsigned char>(text[i]);
            SetLength(m_length + n);
        } else {
            AppendBytes(text, n);
        }
    }
    // A string literal, its length known where it is written (a literal
    // never lies in this string's buffer).
    template <int N>
    void AppendLiteral(const char (&text)[N])
    {
        if (N - 1 <= m_capacity - m_length) {
            unsigned short* to = m_text + m_length;
            for (int i = 0; i < N - 1; ++i)
                to[i] = static_cast<unsigned char>(text[i]);
            SetLength(m_length + N - 1);
        } else {
            AppendBytes(text, N - 1);
        }
    }
    void Append(const unsigned short* text);
    // Exactly n units (inline with room enough, as above).
    void Append(const unsigned short* text, int n)
    {
        if (text && n > 0 && n <= m_capacity - m_length) {
            // The buffer stays, so the text may even come from this string.
            // A piece of a few units (a tag name) is read whole, then
            // written, without a call.
            unsigned short* to = m_text + m_length;
            if (n <= 4) {
                const unsigned short a = text[0], b = n > 1 ? text[1] : 0, c = n > 2 ? text[2] : 0,
                                     d = n > 3 ? text[3] : 0;
                to[0] = a;
                if (n > 1)
                    to[1] = b;
                if (n > 2)
                    to[2] = c;
                if (n > 3)
                    to[3] = d;
            } else {
                std::memmove(to, text, static_cast<size_t>(n) * sizeof(unsigned short));
            }
            SetLength(m_length + n);
        } else {
            InsertUnits(m_length, text, n);
        }
    }
    void AppendInt(long value); // "%ld"
    void AppendInt(int value);
    // Appends one integer formatted as in FormatInt (cut at 999 bytes);
    // false and nothing appended for an unusable format.
    bool AppendInt(const char* format, long value);
    // Inserts count units of text at pos (count < 0: the whole text; pos < 0
    // counts as 0; pos > length appends). Answers the number of units inserted.
    int Insert(int pos, const unsigned short* text, int count = -1);
    // As above with bytes SIGN-extended.
    int Insert(int pos, const char* text, int count = -1);
    int Insert(int pos, unsigned short ch); // pos clamped to 0..length

    // ---- removing ----
    // Removes min(count, length - pos) units at pos when count > 0 and
    // 0 <= pos < length. Answers the new length.
    int Delete(int pos, int count = 1);
    void RemoveBeginTo(int i);     // removes units 0..i inclusive
    int Remove(unsigned short ch); // every occurrence; answers how many
    // Leading/trailing space, TAB, LF, CR, and extra when it is not 0.
    void TrimLeft(unsigned short extra = 0);
    void TrimRight(unsigned short extra = 0);
    void Trim(unsigned short extra = 0);

    // ---- access and queries ----
    int Length() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    // Writable access marks the cached NoUnicode/NoCJK answers stale.
    // A string without memory gets its buffer (capacity 10) first: the
    // caller may write into it.
    operator unsigned short*()
    {
        Changed();
        if (m_text == s_none)
            Materialize();
        return m_text;
    }
    operator const unsigned short*() const { return m_text; }
    // The buffer seen as bytes (for raw 16-bit I/O).
    explicit operator unsigned char*()
    {
        Changed();
        if (m_text == s_none)
            Materialize();
        return reinterpret_cast<unsigned char*>(m_text);
    }
    unsigned short GetAt(int i) const; // 0 outside 0..length
    void SetAt(int i, int ch);         // only when 0 <= i < length
    // The unit at i; outside 0..length-1 a reference to the first unit.
    unsigned short& operator[](int i);
    unsigned short& operator[](long i);
    // New 8-bit copy (low byte of each unit), valid until the next call or destruction.
    char* GetAnsiBuffer();
    // Low bytes and a terminator into dst (room for length + 1 is the caller's duty).
    void CopyToAnsi(char* dst) const;
    // New array (delete[]) with a copy of the text; null when empty.
    unsigned short* CreateNew() const;
    // *out receives a new array (delete[]) holding the UTF-8 form; answers its byte count.
    int CreateUTF8Str(char** out) const;
    // The UTF-8 form into dst, at most size - 1 bytes, never cutting a character
    // in two, then a terminator. Answers the bytes written (terminator not counted).
    int CopyUTF8Str(char* dst, int size) const;
    bool JustSpace() const;     // only space, CR, LF, TAB (true when empty)
    bool IncludeSymbol() const; // holds '?' or '!'
    bool NoUnicode() const;     // every unit below 0x100
    bool NoCJK() const;         // no unit whose high byte is 0x21, 0x22, 0x30-0xD7 or 0xFF
    // & < > " become entity references in place (the apostrophe is left).
    void EscapeXML();

    // Right-to-left tests (RightToLeft.cpp).
    bool HasHebrew() const;
    bool HasArabic() const;
    bool HasArabicOrHebrew() const; // Hebrew, Arabic, '?' or '!'
    bool HasLetterAndArabicOrHebrew() const;
    // Direction-change scan: 0 none, 1 right-to-left text followed by
    // left-to-right (or a sentence end), 2 left-to-right followed by
    // right-to-left; *pos (when given) receives the index where it happens.
    int IsMixedText(int* pos = nullptr) const;
    // The same scan of the text from unit `from` on, as if it began there
    // (*pos receives an index into the whole text).
    int IsMixedTextFrom(int from, int* pos) const;
    bool HasEndSentence() const;

    // ---- searching and comparing ----
    int Find(unsigned short ch, int start = 0) const;
    int ReverseFind(unsigned short ch) const;
    int Find(const unsigned short* text, int start = 0, bool matchCase = true) const;
    int Find(const char* text, int start = 0, bool matchCase = true) const; // sign-extended
    // Replaces every occurrence, continuing after each inserted text; answers the count.
    int Replace(const unsigned short* oldText, const unsigned short* newText, bool matchCase = true);
    int Replace(const char* oldText, const char* newText);           // sign-extended, exact
    int Replace(const char* oldText, const unsigned short* newText); // sign-extended, exact
    bool operator==(const CSafeBuf& other) const;
    bool operator!=(const CSafeBuf& other) const;
    // Null pointers make both == and != answer false.
    bool operator==(const unsigned short* text) const;
    bool operator!=(const unsigned short* text) const;
    // Sign-extended, over the whole length: a string holding a zero unit
    // inside its length never equals a C string (which ends at its first 0).
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const;
    int CompareNoCase(const unsigned short* text) const; // 0 when equal ignoring ASCII case
    int CompareNoCase(const char* text) const;           // zero-extended

    // ---- extracting ----
    CSafeBuf Left(int n) const;
    CSafeBuf Right(int n) const;
    CSafeBuf Mid(int start, int count) const;
    void Right(int n, CSafeBuf* out) const; // out unchanged when nothing to take; out may be this string

    // ---- case and layout ----
    void MakeUpper();
    void MakeLower();
    void MakeCapitalize();
    void ConvertUnixToAnsiCR(); // lone CR -> CR LF
    // Replaces each TAB by fill units up to the next multiple of tab.
    void ExpandTAB(int tab, unsigned short fill = ' ');
    int RealPostionFromExpandedPos(int expandedPos, int tab) const;
    int GetAdjustPosForTAB(int pos, bool toTabEnd, int tab) const;

    // ---- files: raw 16-bit units in host byte order, no byte-order mark ----
    // Paths are UTF-16 and reach the file system as UTF-8. False when the file
    // cannot be opened or written.
    bool SaveAs(const unsigned short* path) const;
    bool LoadFile(const unsigned short* path);

    // Capacity in units, not counting the terminator.
    int GetCapacity() const { return m_capacity; }
    // Counts the changes of the text (every write, and every writable access,
    // counts one): a holder of a copy that noted the count knows the copy
    // still matches while the count is the same, without comparing. Wraps
    // after 2^32 changes.
    std::uint32_t Changes() const { return m_changes; }

private:
    // Makes room for n units (capacity rules above); keep preserves the text.
    bool Grow(long n, bool keep);
    // A new buffer of exactly capacity units (Grow and Reserve).
    bool Reallocate(long capacity, bool keep);
    void InitBuffer(long n);
    // Gives a string without memory a buffer of its own (writable access).
    void Materialize();
    // Frees the buffer (or gives it back to its arena); m_text is left dangling.
    void FreeText();
    void SetLength(int n)
    {
        m_length = n;
        // The shared terminator is never written (its length is always 0).
        if (m_text != s_none)
            m_text[n] = 0;
        Changed();
    }
    // Whether p points into this string's own buffer (aliasing guard).
    bool Owns(const void* p) const
    {
        const auto q = reinterpret_cast<std::uintptr_t>(p);
        const auto begin = reinterpret_cast<std::uintptr_t>(m_text);
        return q >= begin && q <= begin + static_cast<std::uintptr_t>(m_capacity) * sizeof(unsigned short);
    }
    void AssignUnits(const unsigned short* src, int n);
    // Replaces the text with n bytes of text, widened by value or with their sign.
    void AssignBytes(const char* text, int n, bool signExtend);
    int InsertUnits(int pos, const unsigned short* src, int n);
    // n bytes zero-extended at the end, widened straight into the buffer.
    void AppendBytes(const char* text, int n);
    void Changed()
    {
        m_cacheFlags = 0;
        ++m_changes;
    }

    // The terminator every string without memory reads; never written.
    static unsigned short s_none[1];

    char* m_ansi = nullptr;
    unsigned short* m_text = s_none;
    int m_length = 0;
    int m_capacity = 0;
    mutable bool m_noUnicode = true;
    mutable bool m_noCJK = true;
    mutable unsigned char m_cacheFlags = 0; // bit 1: m_noUnicode valid, bit 2: m_noCJK valid
    bool m_lent = false;                    // m_text was cut from a CTextArena
    std::uint32_t m_changes = 0;            // in the padding: the record stays 32 bytes
};
