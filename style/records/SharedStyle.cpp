// The table of shared style records, and the handle's copy-on-write.

#include "style/records/SharedStyle.h"

#include "style/records/FontDefaults.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <unordered_set>
#include <vector>

namespace {

using Record = CSharedStyle::Record;

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

inline std::uint64_t Mix(std::uint64_t h, std::uint64_t word)
{
    h = (h ^ word) * kMultiplier;
    return h ^ (h >> 32);
}

// Bytes [from, to) of the record, eight at a time, in four lanes that the
// processor mixes side by side.
std::uint64_t HashBytes(std::uint64_t h, const unsigned char* bytes, size_t from, size_t to)
{
    size_t i = from;
    if (to - from >= 32) {
        std::uint64_t lane[4] = {h, h + 1, h + 2, h + 3};
        for (; i + 32 <= to; i += 32) {
            std::uint64_t words[4];
            std::memcpy(words, bytes + i, sizeof words);
            for (int k = 0; k < 4; ++k)
                lane[k] = Mix(lane[k], words[k]);
        }
        h = Mix(Mix(Mix(lane[0], lane[1]), lane[2]), lane[3]);
    }
    for (; i + 8 <= to; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        h = Mix(h, word);
    }
    if (i < to) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + i, to - i);
        h = Mix(h, word);
    }
    return h;
}

// Text fields are interned (equal texts, equal bytes), so the record is
// hashed as it stands.
size_t HashRecord(const ELEMENT_STYLE& style)
{
    const std::uint64_t h = HashBytes(1, reinterpret_cast<const unsigned char*>(&style), 0, sizeof style);
    return static_cast<size_t>(h ^ (h >> 29));
}

struct RecordHash
{
    size_t operator()(const Record* r) const { return r->hash; }
};

struct RecordEqual
{
    bool operator()(const Record* a, const Record* b) const
    {
        return a->hash == b->hash && std::memcmp(&a->style, &b->style, sizeof(ELEMENT_STYLE)) == 0;
    }
};

using Table = std::unordered_set<Record*, RecordHash, RecordEqual>;

// Records that are some handle's own.
size_t g_ownRecords = 0;

// Made once and never destroyed: elements destroyed while the process ends
// still find it.
Table& SharedTable()
{
    static Table* table = new Table;
    return *table;
}

// Freed records kept for the next copy, so that restyling a tree does not
// go to the system allocator for every element. Builds with
// AddressSanitizer free them at once, so that a use after free is seen.
#if defined(__SANITIZE_ADDRESS__)
#define QM_STYLE_RECYCLE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_STYLE_RECYCLE 0
#endif
#endif
#ifndef QM_STYLE_RECYCLE
#define QM_STYLE_RECYCLE 1
#endif

#if QM_STYLE_RECYCLE
constexpr size_t kRecycled = 64;

std::vector<Record*>& Recycled()
{
    static std::vector<Record*>* kept = new std::vector<Record*>;
    return *kept;
}
#endif

Record* NewRecord()
{
#if QM_STYLE_RECYCLE
    std::vector<Record*>& kept = Recycled();
    if (!kept.empty()) {
        Record* r = kept.back();
        kept.pop_back();
        return r;
    }
#endif
    return static_cast<Record*>(::operator new(sizeof(Record)));
}

void FreeRecord(Record* r)
{
#if QM_STYLE_RECYCLE
    std::vector<Record*>& kept = Recycled();
    if (kept.size() < kRecycled) {
        kept.push_back(r);
        return;
    }
#endif
    ::operator delete(r);
}

// The shared records that Share found or put in the table last: a style
// made again and again (the runs, bold and italic pieces of one paragraph
// after another) is found by comparing it with these before it is hashed.
// Each is kept with a print of a few of its words, so that most records
// that differ are told apart without comparing them whole. A record leaves
// the list when it leaves the table.
constexpr int kRecent = 16;
struct Recent
{
    Record* record;
    std::uint64_t print;
};
Recent g_recent[kRecent] = {};
int g_recentNext = 0;

// The font group, where the styles of neighbouring elements differ most,
// and one word in every 64 bytes of the rest, mixed.
std::uint64_t PrintOf(const ELEMENT_STYLE& style)
{
    constexpr size_t kRanges[][2]
        = {{offsetof(ELEMENT_STYLE, fontSize) / 8 * 8, offsetof(ELEMENT_STYLE, floatSide)}};
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&style);
    std::uint64_t print = 0;
    auto mix = [&](size_t at) {
        std::uint64_t word;
        std::memcpy(&word, bytes + at, sizeof word);
        print = (print ^ word) * 0x9E3779B97F4A7C15ull;
    };
    for (const auto& range : kRanges) {
        for (size_t at = range[0]; at + 8 <= range[1] + 7 && at + 8 <= sizeof(ELEMENT_STYLE); at += 8)
            mix(at);
    }
    for (size_t at = 0; at + 8 <= sizeof(ELEMENT_STYLE); at += 64)
        mix(at);
    return print;
}

void Remember(Record* r, std::uint64_t print)
{
    for (const Recent& known : g_recent) {
        if (known.record == r)
            return;
    }
    g_recent[g_recentNext] = Recent{r, print};
    g_recentNext = (g_recentNext + 1) % kRecent;
}

void Forget(const Record* r)
{
    for (Recent& known : g_recent) {
        if (known.record == r)
            known = Recent{};
    }
}

// A recent record equal to style (whose print is given), or null.
Record* RecentEqual(const ELEMENT_STYLE& style, std::uint64_t print)
{
    for (const Recent& known : g_recent) {
        if (known.record && known.print == print
            && std::memcmp(&known.record->style, &style, sizeof(ELEMENT_STYLE)) == 0)
            return known.record;
    }
    return nullptr;
}

// The whole bytes of from (padding included) into to, in blocks of 64 and
// then the rest: a copy of this known size made at once is compiled to one
// string move, which starts slowly and took as long as the rest of a text
// run's restyle.
void CopyBytes(ELEMENT_STYLE& to, const ELEMENT_STYLE& from)
{
    unsigned char* out = reinterpret_cast<unsigned char*>(&to);
    const unsigned char* in = reinterpret_cast<const unsigned char*>(&from);
    constexpr size_t kBlock = 64;
    constexpr size_t kWhole = sizeof(ELEMENT_STYLE) / kBlock * kBlock;
    for (size_t at = 0; at < kWhole; at += kBlock)
        std::memcpy(out + at, in + at, kBlock);
    std::memcpy(out + kWhole, in + kWhole, sizeof(ELEMENT_STYLE) - kWhole);
}

// The default record's value into style: zero bytes (padding included) but
// the default font family and number. Filled in blocks, as CopyBytes copies,
// and without reading a record: setting every byte costs about half of
// copying them.
void FillDefault(ELEMENT_STYLE& style)
{
    unsigned char* out = reinterpret_cast<unsigned char*>(&style);
    constexpr size_t kBlock = 64;
    constexpr size_t kWhole = sizeof(ELEMENT_STYLE) / kBlock * kBlock;
    for (size_t at = 0; at < kWhole; at += kBlock)
        std::memset(out + at, 0, kBlock);
    std::memset(out + kWhole, 0, sizeof(ELEMENT_STYLE) - kWhole);
    static const CStyleText<kFontFamilyUnits> family = [] {
        CStyleText<kFontFamilyUnits> text;
        text.Set(kDefaultFontFamily);
        return text;
    }();
    style.fontFamily = family;
    style.fontNumber = static_cast<std::int32_t>(enfontind);
}

// A new own record with the value of style (whole bytes, padding included).
Record* CopyOf(const ELEMENT_STYLE& style)
{
    Record* r = NewRecord();
    CopyBytes(r->style, style);
    r->hash = 0;
    r->refs = 1;
    r->shared = false;
    ++g_ownRecords;
    return r;
}

// The default record, shared, with a reference that is never given up.
Record* DefaultRecord()
{
    static Record* record = [] {
        Record* r = NewRecord();
        std::memset(static_cast<void*>(r), 0, sizeof *r);
        FillDefault(r->style);
        r->hash = HashRecord(r->style);
        r->print = PrintOf(r->style);
        r->refs = 1;
        r->shared = true;
        SharedTable().insert(r);
        return r;
    }();
    return record;
}

} // namespace

CSharedStyle::CSharedStyle() : m_record(DefaultRecord()) { ++m_record->refs; }

CSharedStyle::CSharedStyle(const CSharedStyle& other)
{
    if (other.m_record->shared) {
        m_record = other.m_record;
        ++m_record->refs;
    } else {
        m_record = CopyOf(other.m_record->style);
    }
}

CSharedStyle& CSharedStyle::operator=(const CSharedStyle& other)
{
    if (other.m_record == m_record)
        return *this;
    if (other.m_record->shared) {
        ++other.m_record->refs;
        Release(m_record);
        m_record = other.m_record;
    } else if (!m_record->shared) {
        CopyBytes(m_record->style, other.m_record->style);
    } else {
        Record* own = CopyOf(other.m_record->style);
        Release(m_record);
        m_record = own;
    }
    return *this;
}

CSharedStyle::~CSharedStyle() { Release(m_record); }

void CSharedStyle::Release(Record* record)
{
    if (--record->refs != 0)
        return;
    if (record->shared) {
        SharedTable().erase(record);
        Forget(record);
    } else
        --g_ownRecords;
    FreeRecord(record);
}

ELEMENT_STYLE& CSharedStyle::EditShared()
{
    if (m_record->refs == 1) {
        SharedTable().erase(m_record);
        Forget(m_record);
        m_record->shared = false;
        ++g_ownRecords;
        return m_record->style;
    }
    Record* own = CopyOf(m_record->style);
    Release(m_record);
    m_record = own;
    return m_record->style;
}

ELEMENT_STYLE& CSharedStyle::Reset()
{
    if (m_record->shared) {
        Release(m_record);
        m_record = NewRecord();
        m_record->hash = 0;
        m_record->refs = 1;
        m_record->shared = false;
        ++g_ownRecords;
    }
    FillDefault(m_record->style);
    return m_record->style;
}

bool CSharedStyle::TakeEqual(const Record* other, std::uint64_t print)
{
    if (!other->shared || other->print != print || other == m_record
        || std::memcmp(&m_record->style, &other->style, sizeof(ELEMENT_STYLE)) != 0)
        return false;
    --g_ownRecords;
    FreeRecord(m_record);
    m_record = const_cast<Record*>(other);
    ++m_record->refs;
    return true;
}

void CSharedStyle::Share(const CSharedStyle& likely)
{
    if (m_record->shared)
        return;
    const std::uint64_t print = PrintOf(m_record->style);
    if (!TakeEqual(likely.m_record, print))
        SharePrinted(print);
}

void CSharedStyle::Share(const CSharedStyle& likely, const CSharedStyle& alsoLikely)
{
    if (m_record->shared)
        return;
    const std::uint64_t print = PrintOf(m_record->style);
    if (!TakeEqual(likely.m_record, print) && !TakeEqual(alsoLikely.m_record, print))
        SharePrinted(print);
}

void CSharedStyle::Share()
{
    if (!m_record->shared)
        SharePrinted(PrintOf(m_record->style));
}

void CSharedStyle::SharePrinted(std::uint64_t print)
{
    if (Record* recent = RecentEqual(m_record->style, print)) {
        --g_ownRecords;
        FreeRecord(m_record);
        ++recent->refs;
        m_record = recent;
        return;
    }
    m_record->hash = HashRecord(m_record->style);
    --g_ownRecords;
    Table& table = SharedTable();
    auto found = table.find(m_record);
    if (found != table.end()) {
        Record* equal = *found;
        ++equal->refs;
        FreeRecord(m_record);
        m_record = equal;
        Remember(equal, print);
        return;
    }
    m_record->shared = true;
    m_record->print = print;
    table.insert(m_record);
    Remember(m_record, print);
}

size_t CSharedStyle::SharedCount() { return SharedTable().size(); }

size_t CSharedStyle::OwnCount() { return g_ownRecords; }
