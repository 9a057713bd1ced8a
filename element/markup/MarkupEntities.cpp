// Named references to numeric ones, region by region, in one pass: runs of
// text without a reference to change are copied whole.

#include "element/markup/MarkupEntities.h"

#include "base/codec/EntityTable.h"
#include "base/codec/Escaping.h"
#include "base/text/SafeBuf.h"
#include "base/xml/XmlEntityExpansion.h"
#include "element/markup/MarkupScan.h"

#include <cstring>
#include <string>
#include <type_traits>
#include <unordered_map>

namespace {

// "&nbsp;" -> "&#160;" for every pair but the five of XML, which stay.
const std::unordered_map<std::string, const char*>& EntityNumbers()
{
    static const std::unordered_map<std::string, const char*> numbers = [] {
        std::unordered_map<std::string, const char*> m;
        for (int i = 0; i < HTML2XML_COUNT; ++i) {
            const std::string name = HTML2XML[i].name;
            if (name != "&amp;" && name != "&lt;" && name != "&gt;" && name != "&quot;" && name != "&apos;")
                m.emplace(name, HTML2XML[i].number);
        }
        return m;
    }();
    return numbers;
}

template <class Unit>
unsigned At(const Unit* s, size_t i)
{
    return static_cast<std::make_unsigned_t<Unit>>(s[i]);
}

bool IsAsciiLetterOrDigit(unsigned c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

template <class Unit>
bool StartsAt(const Unit* s, size_t n, size_t i, const char* word)
{
    for (size_t k = 0; word[k]; ++k) {
        if (i + k >= n || At(s, i + k) != static_cast<unsigned char>(word[k]))
            return false;
    }
    return true;
}

// Where the region starting at i that is left alone ends (one past it), or
// n + 1 when no such region starts at i.
template <class Unit>
size_t ProtectedEnd(const Unit* s, size_t n, size_t i)
{
    const char* close = nullptr;
    if (StartsAt(s, n, i, "<!--"))
        close = "-->";
    else if (StartsAt(s, n, i, "<![CDATA["))
        close = "]]>";
    else if (StartsAt(s, n, i, "<?"))
        close = "?>";
    if (close) {
        for (size_t j = i + 2; j < n; ++j) {
            if (StartsAt(s, n, j, close))
                return j + std::char_traits<char>::length(close);
        }
        return n;
    }
    if (StartsAt(s, n, i, "<!DOCTYPE"))
        return DoctypeEnd(s, n, i);
    return n + 1;
}

// The first position from i on, before end, that holds c; end when none
// does. Bytes are searched with memchr: most of a document holds no
// reference at all.
size_t NextOf(const char* s, size_t i, size_t end, char c)
{
    if (i >= end)
        return end;
    const void* at = std::memchr(s + i, c, end - i);
    return at ? static_cast<size_t>(static_cast<const char*>(at) - s) : end;
}

size_t NextOf(const unsigned short* s, size_t i, size_t end, char c)
{
    return qm::markup::NextUnit(s, i, end, static_cast<unsigned char>(c));
}

template <class Unit>
bool HasInternalSubset(const Unit* s, size_t n)
{
    for (size_t i = NextOf(s, 0, n, '<'); i < n; i = NextOf(s, i + 1, n, '<')) {
        if (StartsAt(s, n, i, "<!DOCTYPE")) {
            bool subset = false;
            DoctypeEnd(s, n, i, &subset);
            return subset;
        }
    }
    return false;
}

void Put(std::string& out, const char* s, size_t n) { out.append(s, n); }
void Put(CSafeBuf& out, const unsigned short* s, size_t n) { out.Append(s, static_cast<int>(n)); }
void PutAscii(std::string& out, const char* text) { out += text; }
void PutAscii(CSafeBuf& out, const char* text) { out += text; }

// Copies one region into out: the known names become numbers and, with
// removeUnknown, the other names that no parser here could resolve go
// (RemoveXMLAllEscape's rule; the five of XML stay).
template <class Unit, class Out>
void ConvertRegion(const Unit* s, size_t begin, size_t end, bool removeUnknown, Out& out)
{
    const auto& numbers = EntityNumbers();
    std::string name;
    size_t kept = begin; // the text from kept up to i is copied as it is
    size_t i = begin;
    while (i < end) {
        i = NextOf(s, i, end, '&');
        if (i >= end)
            break;
        size_t j = i + 1;
        while (j < end && j - i <= 10 && IsAsciiLetterOrDigit(At(s, j)))
            ++j;
        if (j < end && s[j] == ';' && j > i + 1) {
            name.assign("&");
            for (size_t k = i + 1; k < j; ++k)
                name += static_cast<char>(At(s, k));
            name += ';';
            auto found = numbers.find(name);
            if (found != numbers.end()) {
                Put(out, s + kept, i - kept);
                PutAscii(out, found->second);
                kept = i = j + 1;
                continue;
            }
        }
        // The scan of a name stops at the next '&', so the numbers written
        // for earlier references cannot change what this rule sees.
        const size_t removedEnd = removeUnknown ? RemovedReferenceEnd(s, end, i) : i;
        if (removedEnd != i) {
            Put(out, s + kept, i - kept);
            kept = i = removedEnd;
            continue;
        }
        ++i;
    }
    Put(out, s + kept, end - kept);
}

template <class Unit, class Out>
void Prepare(const Unit* s, size_t n, Out& out)
{
    const bool removeUnknown = !HasInternalSubset(s, n);
    size_t begin = 0;
    size_t i = 0;
    while (i < n) {
        i = NextOf(s, i, n, '<');
        if (i >= n)
            break;
        const size_t end = ProtectedEnd(s, n, i);
        if (end > n) {
            ++i;
            continue;
        }
        ConvertRegion(s, begin, i, removeUnknown, out);
        Put(out, s + i, end - i);
        begin = i = end;
    }
    ConvertRegion(s, begin, n, removeUnknown, out);
}

} // namespace

void PrepareMarkupEntities(CSafeBuf& text)
{
    const size_t n = static_cast<size_t>(text.Length());
    const unsigned short* s = text;
    if (NextOf(s, 0, n, '&') >= n)
        return;
    CSafeBuf out;
    out.PrepareBufferSize(static_cast<long>(n) + 16); // room only
    out.ClearBuffer();
    Prepare(s, n, out);
    text.ReplaceWith(&out);
}

bool MayHoldNamedReference(const char* bytes, size_t n)
{
    for (size_t i = NextOf(bytes, 0, n, '&'); i < n; i = NextOf(bytes, i + 1, n, '&')) {
        const unsigned next = i + 1 < n ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (IsAsciiLetterOrDigit(next) || next == '_' || next == ':')
            return true;
    }
    return false;
}

void PrepareMarkupEntities(std::string& bytes)
{
    if (!MayHoldNamedReference(bytes.data(), bytes.size()))
        return;
    std::string out;
    out.reserve(bytes.size() + 16);
    Prepare(bytes.data(), bytes.size(), out);
    bytes.swap(out);
}

size_t MarkupEntityBudget(size_t size)
{
    constexpr size_t kAllowance = 1 << 20;
    return size > kAllowance / 4 ? 4 * size : kAllowance;
}

bool DeclaresInSubset(const xmlDoc* doc)
{
    const xmlDtd* dtd = doc ? doc->intSubset : nullptr;
    return dtd && (dtd->children || dtd->entities || dtd->pentities);
}

bool SettleDeclaredEntities(xmlDoc* doc, size_t size, CSafeBuf* error)
{
    if (!doc)
        return false;
    // The text of the document's own entities lives in the DTD: it is put
    // in place before the DTD goes.
    if (!XmlExpandEntities(doc, MarkupEntityBudget(size), error))
        return false;
    if (xmlDtd* dtd = doc->intSubset) {
        xmlUnlinkNode(reinterpret_cast<xmlNode*>(dtd));
        xmlFreeDtd(dtd);
    }
    return true;
}
