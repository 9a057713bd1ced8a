// CSafeBuf storage: construction, capacity, assignment, access and queries.
// Editing operations are in SafeBufEdit.cpp, formatting, encodings and files
// in SafeBufFormat.cpp, the right-to-left tests in RightToLeft.cpp.

#include "base/text/SafeBuf.h"

#include "base/text/LowBytes.h"
#include "base/text/TextArena.h"
#include "base/text/U16.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

const int kEmptyCapacity = 10;
const int kEmptyCopyCapacity = 20;

enum : unsigned char
{
    kNoUnicodeValid = 1,
    kNoCJKValid = 2
};

unsigned short* NewUnits(long capacity)
{
    return new (std::nothrow) unsigned short[static_cast<size_t>(capacity) + 1];
}

// The capacity a growth to n units asks for: twice n, bounded by what an int holds.
long DoubledCapacity(long n)
{
    if (n < 1)
        return kEmptyCopyCapacity;
    if (n > (INT_MAX - 1) / 2)
        return INT_MAX - 1;
    return 2 * n;
}

} // namespace

// ---------------------------------------------------------------- storage

unsigned short CSafeBuf::s_none[1] = {0};

// Every element holds several strings: the record is kept to four words.
static_assert(sizeof(void*) != 8 || sizeof(CSafeBuf) == 32, "CSafeBuf grew");

bool CSafeBuf::Grow(long n, bool keep)
{
    if (n < 0 || n >= INT_MAX)
        return false;
    if (m_capacity > 0 && n <= m_capacity)
        return true;
    if (m_text == s_none) {
        // Nothing to hold yet: the string stays without memory. A first
        // buffer is never smaller than an empty string's used to be.
        if (n == 0)
            return true;
        const long capacity = DoubledCapacity(n);
        return Reallocate(capacity < kEmptyCapacity ? kEmptyCapacity : capacity, keep);
    }
    return Reallocate(DoubledCapacity(n), keep);
}

bool CSafeBuf::Reserve(long n)
{
    if (n < 0 || n >= INT_MAX)
        return false;
    if ((m_capacity > 0 && n <= m_capacity) || (n == 0 && m_text == s_none))
        return true;
    return Reallocate(n, true);
}

bool CSafeBuf::Reallocate(long capacity, bool keep)
{
    unsigned short* text = NewUnits(capacity);
    if (!text)
        return false;
    if (keep) {
        std::memcpy(text, m_text, (static_cast<size_t>(m_length) + 1) * sizeof(unsigned short));
    } else {
        text[0] = 0;
        m_length = 0;
    }
    if (m_text != s_none)
        FreeText();
    m_text = text;
    m_lent = false;
    m_capacity = static_cast<int>(capacity);
    return true;
}

bool CSafeBuf::ReserveIn(CTextArena& arena, long n)
{
    if (m_text != s_none || n < 1)
        return Reserve(n);
    unsigned short* text = arena.Take(n);
    if (!text)
        return Reserve(n);
    text[0] = 0;
    m_text = text;
    m_lent = true;
    m_length = 0;
    m_capacity = static_cast<int>(n);
    return true;
}

void CSafeBuf::FreeText()
{
    if (m_lent)
        CTextArena::GiveBack(m_text);
    else
        delete[] m_text;
}

void CSafeBuf::AssignUnits(const unsigned short* src, int n)
{
    if (n < 0)
        return;
    if (n > 0 && Owns(src)) {
        // Assigning part of our own text: it is never longer than the
        // buffer, so it moves within it.
        std::memmove(m_text, src, static_cast<size_t>(n) * sizeof(unsigned short));
        SetLength(n);
        return;
    }
    if (!Grow(n, false))
        return;
    if (n > 0)
        std::memcpy(m_text, src, static_cast<size_t>(n) * sizeof(unsigned short));
    SetLength(n);
}

void CSafeBuf::AssignBytes(const char* text, int n, bool signExtend)
{
    if (!Grow(n, false))
        return;
    for (int i = 0; i < n; ++i)
        m_text[i] = signExtend ? static_cast<unsigned short>(static_cast<signed char>(text[i]))
                               : static_cast<unsigned char>(text[i]);
    SetLength(n);
}

// ---------------------------------------------------------------- construction

// A new string's buffer: none when it starts empty, else twice the length it
// starts with.
void CSafeBuf::InitBuffer(long n)
{
    m_length = 0;
    if (n < 1) {
        m_text = s_none;
        m_capacity = 0;
        return;
    }
    long capacity = DoubledCapacity(n);
    m_text = NewUnits(capacity);
    if (!m_text) {
        capacity = kEmptyCapacity;
        m_text = new unsigned short[kEmptyCapacity + 1];
    }
    m_text[0] = 0;
    m_capacity = static_cast<int>(capacity);
}

void CSafeBuf::Materialize()
{
    m_text = new unsigned short[kEmptyCapacity + 1];
    m_text[0] = 0;
    m_length = 0;
    m_capacity = kEmptyCapacity;
}

CSafeBuf::CSafeBuf() = default;

CSafeBuf::CSafeBuf(long n)
{
    if (n > INT_MAX - 1)
        n = INT_MAX - 1;
    InitBuffer(n);
    if (n >= 1 && m_capacity >= n)
        SetLength(static_cast<int>(n));
}

CSafeBuf::CSafeBuf(int n) : CSafeBuf(static_cast<long>(n)) { }

CSafeBuf::CSafeBuf(unsigned short ch, int count)
{
    InitBuffer(count);
    if (count < 1 || m_capacity < count)
        return;
    for (int i = 0; i < count; ++i)
        m_text[i] = ch;
    SetLength(count);
}

CSafeBuf::CSafeBuf(const unsigned short* text)
{
    int n = U16len(text);
    InitBuffer(n);
    if (n >= 1 && m_capacity >= n)
        AssignUnits(text, n);
}

CSafeBuf::CSafeBuf(const unsigned char* text)
{
    const char* bytes = reinterpret_cast<const char*>(text);
    const int n = U16len(bytes);
    InitBuffer(n);
    AssignBytes(bytes, n, false);
}

CSafeBuf::CSafeBuf(const char* text)
{
    const int n = U16len(text);
    InitBuffer(n);
    AssignBytes(text, n, true);
}

CSafeBuf::CSafeBuf(const CSafeBuf& other)
{
    // A copy of an empty string has no memory, of L units capacity 2L.
    InitBuffer(other.m_length);
    if (m_capacity >= other.m_length)
        AssignUnits(other.m_text, other.m_length);
}

CSafeBuf::~CSafeBuf()
{
    if (m_text != s_none)
        FreeText();
    delete[] m_ansi;
}

// ---------------------------------------------------------------- assignment

CSafeBuf& CSafeBuf::operator=(const unsigned short* text)
{
    if (text)
        AssignUnits(text, U16len(text));
    return *this;
}

CSafeBuf& CSafeBuf::operator=(unsigned short* text)
{
    return operator=(static_cast<const unsigned short*>(text));
}

CSafeBuf& CSafeBuf::operator=(const char* text)
{
    if (text)
        AssignBytes(text, U16len(text), false);
    return *this;
}

CSafeBuf& CSafeBuf::operator=(const CSafeBuf& other)
{
    if (this != &other)
        AssignUnits(other.m_text, other.m_length);
    return *this;
}

void CSafeBuf::Copy(const unsigned short* src, int n)
{
    if (n < 0 || (!src && n > 0))
        return;
    AssignUnits(src, n);
}

void CSafeBuf::ReplaceWith(CSafeBuf* source)
{
    if (!source || source == this)
        return;
    // The two buffers change hands: source keeps this string's old buffer,
    // emptied, and nothing is allocated.
    unsigned short* old = m_text;
    const int oldCapacity = m_capacity;
    const bool oldLent = m_lent;
    m_text = source->m_text;
    m_length = source->m_length;
    m_capacity = source->m_capacity;
    m_lent = source->m_lent;
    Changed();
    source->m_text = old;
    source->m_capacity = oldCapacity;
    source->m_lent = oldLent;
    source->SetLength(0);
}

void CSafeBuf::Empty()
{
    SetLength(0);
    if (m_ansi)
        m_ansi[0] = 0;
}

void CSafeBuf::ClearBuffer() { SetLength(0); }

void CSafeBuf::Size(int n)
{
    if (n < 0 || !Grow(n, false))
        return;
    SetLength(n);
}

void CSafeBuf::Resize(int n)
{
    if (n < 0 || !Grow(n, true))
        return;
    SetLength(n);
}

bool CSafeBuf::PrepareBufferSize(long n)
{
    if (n < 0 || n >= INT_MAX)
        return false;
    if (!Grow(n, false))
        return false;
    SetLength(static_cast<int>(n));
    return true;
}

void CSafeBuf::BufferChanged()
{
    int n = 0;
    while (n < m_capacity && m_text[n])
        ++n;
    SetLength(n);
}

void CSafeBuf::AdjSize(int n)
{
    if (n >= 0 && m_length >= n)
        SetLength(n);
}

void CSafeBuf::CutAt(int n)
{
    if (n >= 0 && n < m_length)
        SetLength(n);
}

// ---------------------------------------------------------------- access

unsigned short CSafeBuf::GetAt(int i) const { return (i >= 0 && i <= m_length) ? m_text[i] : 0; }

void CSafeBuf::SetAt(int i, int ch)
{
    if (i >= 0 && i < m_length) {
        m_text[i] = static_cast<unsigned short>(ch);
        Changed();
    }
}

unsigned short& CSafeBuf::operator[](int i)
{
    Changed();
    if (m_text == s_none)
        Materialize();
    return (i >= 0 && i < m_length) ? m_text[i] : m_text[0];
}

unsigned short& CSafeBuf::operator[](long i)
{
    Changed();
    if (m_text == s_none)
        Materialize();
    return (i >= 0 && i < m_length) ? m_text[i] : m_text[0];
}

char* CSafeBuf::GetAnsiBuffer()
{
    delete[] m_ansi;
    m_ansi = new (std::nothrow) char[static_cast<size_t>(m_length) + 1];
    if (m_ansi)
        CopyToAnsi(m_ansi);
    return m_ansi;
}

void CSafeBuf::CopyToAnsi(char* dst) const
{
    if (!dst)
        return;
    for (int i = 0; i < m_length; ++i)
        dst[i] = static_cast<char>(LowByte(m_text[i]));
    dst[m_length] = 0;
}

unsigned short* CSafeBuf::CreateNew() const
{
    if (m_length == 0)
        return nullptr;
    unsigned short* copy = new (std::nothrow) unsigned short[static_cast<size_t>(m_length) + 1];
    if (copy)
        std::memcpy(copy, m_text, (static_cast<size_t>(m_length) + 1) * sizeof(unsigned short));
    return copy;
}

// ---------------------------------------------------------------- queries

bool CSafeBuf::JustSpace() const
{
    for (int i = 0; i < m_length; ++i) {
        unsigned short c = m_text[i];
        if (c != ' ' && c != '\r' && c != '\n' && c != '\t')
            return false;
    }
    return true;
}

bool CSafeBuf::IncludeSymbol() const
{
    for (int i = 0; i < m_length; ++i)
        if (m_text[i] == '?' || m_text[i] == '!')
            return true;
    return false;
}

bool CSafeBuf::NoUnicode() const
{
    if (!(m_cacheFlags & kNoUnicodeValid)) {
        m_noUnicode = true;
        for (int i = 0; i < m_length; ++i) {
            if (m_text[i] >= 0x100) {
                m_noUnicode = false;
                break;
            }
        }
        m_cacheFlags |= kNoUnicodeValid;
    }
    return m_noUnicode;
}

bool CSafeBuf::NoCJK() const
{
    if (!(m_cacheFlags & kNoCJKValid)) {
        m_noCJK = true;
        for (int i = 0; i < m_length; ++i) {
            unsigned hi = m_text[i] >> 8;
            if (hi == 0x21 || hi == 0x22 || (hi >= 0x30 && hi <= 0xD7) || hi == 0xFF) {
                m_noCJK = false;
                break;
            }
        }
        m_cacheFlags |= kNoCJKValid;
    }
    return m_noCJK;
}
