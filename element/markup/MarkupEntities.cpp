// Named references to numeric ones, region by region.

#include "element/markup/MarkupEntities.h"

#include "base/codec/EntityTable.h"
#include "base/codec/Escaping.h"
#include "base/text/SafeBuf.h"
#include "element/markup/MarkupScan.h"

#include <string>
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

bool IsAsciiLetterOrDigit(unsigned short c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool StartsAt(const unsigned short* s, int n, int i, const char* word)
{
    for (int k = 0; word[k]; ++k) {
        if (i + k >= n || s[i + k] != static_cast<unsigned char>(word[k]))
            return false;
    }
    return true;
}

// Where the region starting at i that is left alone ends (one past it), or
// -1 when no such region starts at i.
int ProtectedEnd(const unsigned short* s, int n, int i)
{
    const char* close = nullptr;
    if (StartsAt(s, n, i, "<!--"))
        close = "-->";
    else if (StartsAt(s, n, i, "<![CDATA["))
        close = "]]>";
    else if (StartsAt(s, n, i, "<?"))
        close = "?>";
    if (close) {
        for (int j = i + 2; j < n; ++j) {
            if (StartsAt(s, n, j, close))
                return j + static_cast<int>(std::char_traits<char>::length(close));
        }
        return n;
    }
    if (StartsAt(s, n, i, "<!DOCTYPE"))
        return static_cast<int>(DoctypeEnd(s, static_cast<size_t>(n), static_cast<size_t>(i)));
    return -1;
}

bool HasInternalSubset(const unsigned short* s, int n)
{
    for (int i = 0; i < n; ++i) {
        if (s[i] == '<' && StartsAt(s, n, i, "<!DOCTYPE")) {
            bool subset = false;
            DoctypeEnd(s, static_cast<size_t>(n), static_cast<size_t>(i), &subset);
            return subset;
        }
    }
    return false;
}

// Converts the known names of one region into out.
void ConvertRegion(const unsigned short* s, int begin, int end, bool removeUnknown, CSafeBuf& out)
{
    CSafeBuf region;
    const auto& numbers = EntityNumbers();
    std::string name;
    int i = begin;
    while (i < end) {
        if (s[i] != '&') {
            int j = i;
            while (j < end && s[j] != '&')
                ++j;
            region.Append(s + i, j - i);
            i = j;
            continue;
        }
        int j = i + 1;
        while (j < end && j - i <= 10 && IsAsciiLetterOrDigit(s[j]))
            ++j;
        if (j < end && s[j] == ';' && j > i + 1) {
            name.assign("&");
            for (int k = i + 1; k < j; ++k)
                name += static_cast<char>(s[k]);
            name += ';';
            auto found = numbers.find(name);
            if (found != numbers.end()) {
                region += found->second;
                i = j + 1;
                continue;
            }
        }
        region += s[i];
        ++i;
    }
    RemoveXMLAllEscape(region, removeUnknown);
    out += region;
}

} // namespace

void PrepareMarkupEntities(CSafeBuf& text)
{
    const int n = text.Length();
    const unsigned short* s = text;
    bool any = false;
    for (int i = 0; i < n && !any; ++i)
        any = s[i] == '&';
    if (!any)
        return;
    const bool removeUnknown = !HasInternalSubset(s, n);
    CSafeBuf out;
    out.PrepareBufferSize(n + 16); // room only
    out.ClearBuffer();
    int begin = 0;
    int i = 0;
    while (i < n) {
        int end = s[i] == '<' ? ProtectedEnd(s, n, i) : -1;
        if (end < 0) {
            ++i;
            continue;
        }
        ConvertRegion(s, begin, i, removeUnknown, out);
        out.Append(s + i, end - i);
        begin = i = end;
    }
    ConvertRegion(s, begin, n, removeUnknown, out);
    text.ReplaceWith(&out);
}
