// Text passes around HTML Tidy. Each scans the UTF-16 units once and, when
// it has something to change, builds the result in a second buffer: the runs
// it keeps are copied whole.

#include "editor/TidyMarkup.h"

#include "base/codec/EntityTable.h"
#include "base/text/Ascii.h"
#include "base/text/SafeBuf.h"
#include "element/markup/MarkupScan.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

using qm::markup::At;

namespace {

// ---- Character references.

bool IsMarkupReference(const char* name)
{
    for (const char* markup : {"&quot;", "&amp;", "&lt;", "&gt;", "&apos;"})
        if (std::strcmp(name, markup) == 0)
            return true;
    return false;
}

// The table's pairs by name and by number, and the character of each pair;
// the five markup pairs are left out.
struct ReferenceTables
{
    std::unordered_map<std::string, int> names;
    std::unordered_map<unsigned, int> numbers;
    unsigned short characters[HTML2XML_COUNT] = {};
};

const ReferenceTables& Tables()
{
    static const ReferenceTables tables = [] {
        ReferenceTables t;
        for (int i = 0; i < HTML2XML_COUNT && HTML2XML[i].name; ++i) {
            if (IsMarkupReference(HTML2XML[i].name))
                continue;
            const unsigned value = static_cast<unsigned>(std::stoul(HTML2XML[i].number + 2));
            t.names.emplace(HTML2XML[i].name, i);
            t.numbers.emplace(value, i);
            t.characters[i] = static_cast<unsigned short>(value);
        }
        return t;
    }();
    return tables;
}

struct Reference
{
    int pos = 0;
    int length = 0;
    int pair = 0;
    bool named = false;
};

// Whether a reference of a table pair, in the table's own spelling, starts
// at i (which holds "&").
bool ReferenceAt(
    const unsigned short* s, int n, int i, const ReferenceTables& t, std::string& name, Reference& ref)
{
    int j = i + 1;
    if (j < n && s[j] == '#') {
        ++j;
        if (j >= n || s[j] == '0') // "&#0160;" is not the table's "&#160;"
            return false;
        unsigned value = 0;
        while (j < n && IsAsciiDigit(s[j]) && j - i - 2 < 5)
            value = value * 10 + (s[j++] - '0');
        if (j == i + 2 || j >= n || s[j] != ';')
            return false;
        const auto found = t.numbers.find(value);
        if (found == t.numbers.end())
            return false;
        ref = Reference{i, j + 1 - i, found->second, false};
        return true;
    }
    name.assign(1, '&');
    while (j < n && j - i <= 10 && IsAsciiAlnum(s[j]))
        name += static_cast<char>(s[j++]);
    if (j == i + 1 || j >= n || s[j] != ';')
        return false;
    name += ';';
    const auto found = t.names.find(name);
    if (found == t.names.end())
        return false;
    ref = Reference{i, j + 1 - i, found->second, true};
    return true;
}

// Whether a candidate reference starts at i: "&", a character that is neither
// "#" nor "&", then ";" at most 9 characters after that one, no "&" between.
bool CandidateAt(const unsigned short* s, int n, int i)
{
    if (s[i] != '&' || i + 1 >= n || s[i + 1] == '#' || s[i + 1] == '&')
        return false;
    for (int q = i + 2; q < n && q <= i + 10; ++q) {
        if (s[q] == ';')
            return true;
        if (s[q] == '&')
            return false;
    }
    return false;
}

bool HasCandidate(const CSafeBuf& text)
{
    const unsigned short* s = text;
    const int n = text.Length();
    for (int i = 0; i < n; ++i)
        if (s[i] == '&' && CandidateAt(s, n, i))
            return true;
    return false;
}

// The text with the references of pairs up to lastPair resolved; a numeric
// reference only when its pair's name does not occur.
void Resolve(const unsigned short* s, int n, const std::vector<Reference>& refs,
    const std::vector<char>& namedPresent, int lastPair, CSafeBuf& out)
{
    const ReferenceTables& t = Tables();
    out.PrepareBufferSize(n); // room only
    out.ClearBuffer();
    int kept = 0;
    for (const Reference& r : refs) {
        if (r.pair > lastPair || (!r.named && namedPresent[static_cast<size_t>(r.pair)]))
            continue;
        out.Append(s + kept, r.pos - kept);
        out += t.characters[r.pair];
        kept = r.pos + r.length;
    }
    out.Append(s + kept, n - kept);
}

// ---- Sections and tags.

// Removes from markup every section that starts where opens(s, n, i) answers
// true: section(s, n, i) answers one past its end, or -1 when it has none
// (the rest stays); keep(s, n, i) tells the sections that stay (resumed
// after their end).
template <class Opens, class End, class Keep>
void RemoveSections(CSafeBuf& markup, Opens opens, End section, Keep keep)
{
    const CSafeBuf& in = markup;
    const unsigned short* s = in;
    const int n = in.Length();
    CSafeBuf out;
    bool changed = false;
    int kept = 0;
    for (int i = 0; i < n;) {
        if (!opens(s, n, i)) {
            ++i;
            continue;
        }
        const int end = section(s, n, i);
        if (end < 0)
            break;
        if (!keep(s, n, i)) {
            out.Append(s + kept, i - kept);
            kept = end;
            changed = true;
        }
        i = end;
    }
    if (!changed)
        return;
    out.Append(s + kept, n - kept);
    markup.ReplaceWith(&out);
}

// One past the first close at or after from; -1 when none.
int PastNext(const unsigned short* s, int n, int from, const char* close)
{
    const int length = static_cast<int>(std::strlen(close));
    for (int j = from; j + length <= n; ++j)
        if (s[j] == static_cast<unsigned char>(close[0]) && At(s, static_cast<size_t>(n), j, close))
            return j + length;
    return -1;
}

// One past the comment or character data section that starts at i (to the
// end of the text when it is not closed); i when none starts there.
int PastCommentOrSection(const unsigned short* s, int n, int i)
{
    const size_t size = static_cast<size_t>(n);
    int end = i;
    if (At(s, size, static_cast<size_t>(i), "<!--"))
        end = PastNext(s, n, i + 4, "-->");
    else if (At(s, size, static_cast<size_t>(i), "<![CDATA["))
        end = PastNext(s, n, i + 9, "]]>");
    return end < 0 ? n : end;
}

bool IsBlank(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Attributes whose values are addresses.
bool IsAddressAttribute(const unsigned short* name, int length)
{
    for (int k = length - 1; k >= 0; --k) {
        if (name[k] == ':') {
            name += k + 1;
            length -= k + 1;
            break;
        }
    }
    if (length < 3 || length > 9)
        return false;
    std::string lower;
    for (int k = 0; k < length; ++k) {
        if (name[k] > 0x7F)
            return false;
        lower += LowerAscii(static_cast<char>(name[k]));
    }
    for (const char* address : {"href", "src", "action", "background", "cite", "classid", "codebase", "data",
             "longdesc", "lowsrc", "dynsrc", "profile", "usemap"})
        if (lower == address)
            return true;
    return false;
}

bool IsNamed(const unsigned short* name, int length, const char* word)
{
    const int n = static_cast<int>(std::strlen(word));
    if (length != n)
        return false;
    for (int k = 0; k < n; ++k)
        if (name[k] > 0x7F || LowerAscii(static_cast<char>(name[k])) != word[k])
            return false;
    return true;
}

// Where "</" + word (any case) next starts at or after from; n when nowhere.
int FindEndTag(const unsigned short* s, int n, int from, const char* word)
{
    const int length = static_cast<int>(std::strlen(word));
    for (int j = from; j + 2 + length <= n; ++j)
        if (s[j] == '<' && s[j + 1] == '/' && IsNamed(s + j + 2, length, word))
            return j;
    return n;
}

// The ">" that ends the start tag whose name ends before j, quoted values
// passed over whole; n when the tag is not closed.
int StartTagEnd(const unsigned short* s, int n, int j)
{
    unsigned short quote = 0;
    for (; j < n && (quote || s[j] != '>'); ++j) {
        if (quote && s[j] == quote)
            quote = 0;
        else if (!quote && (s[j] == '"' || s[j] == '\''))
            quote = s[j];
    }
    return j;
}

// The value with every "file:///" deleted, searched again from the start
// after each deletion. The units are taken one by one and a scheme is
// dropped as soon as it ends the kept text: "file:///" overlaps itself
// nowhere, so that gives what deleting the first one again and again does
// ("filfile:///e:///" comes to nothing), in one pass.
void DeleteFileScheme(std::vector<unsigned short>& value)
{
    static const char kScheme[] = "file:///";
    const size_t length = sizeof kScheme - 1;
    size_t kept = 0;
    for (size_t j = 0; j < value.size(); ++j) {
        value[kept++] = value[j];
        if (kept >= length && At(value.data(), kept, kept - length, kScheme))
            kept -= length;
    }
    value.resize(kept);
}

} // namespace

void ResolveCharacterReferences(CSafeBuf& markup)
{
    const CSafeBuf& in = markup;
    const unsigned short* s = in;
    const int n = in.Length();
    if (in.Find('&') < 0)
        return;
    const ReferenceTables& t = Tables();

    // References never overlap one another (each runs from "&" to the first
    // ";", with no "&" inside), and a replacement puts a character above
    // U+007F in the text, which cannot begin or end one: so which references
    // there are is known from the text as given. The scans for candidates
    // are what depends on the order. A candidate that is not a reference of
    // the table stays through every replacement; the table's names are
    // candidates until their own pair comes; and a replacement can make a
    // new candidate ("&x&eacute;;" becomes "&x" U+00E9 ";"), which no later
    // replacement undoes.
    std::vector<Reference> refs;
    std::vector<char> namedPresent(HTML2XML_COUNT, 0);
    bool otherCandidate = false;
    int lastNamed = -1;
    std::string name;
    for (int i = 0; i < n; ++i) {
        if (s[i] != '&')
            continue;
        Reference ref;
        const bool found = ReferenceAt(s, n, i, t, name, ref);
        if (found) {
            refs.push_back(ref);
            if (ref.named) {
                namedPresent[static_cast<size_t>(ref.pair)] = 1;
                lastNamed = std::max(lastNamed, ref.pair);
            }
        }
        if (!(found && ref.named) && CandidateAt(s, n, i))
            otherCandidate = true;
    }
    if (!otherCandidate && lastNamed < 0)
        return; // no candidate before the first pair

    CSafeBuf out;
    if (otherCandidate) {
        Resolve(s, n, refs, namedPresent, HTML2XML_COUNT, out);
    } else {
        // Until the last named pair a name is left; after it, only a
        // candidate that the replacements made lets the pass go on.
        Resolve(s, n, refs, namedPresent, lastNamed, out);
        if (HasCandidate(out))
            Resolve(s, n, refs, namedPresent, HTML2XML_COUNT, out);
    }
    markup.ReplaceWith(&out);
}

bool HasBodyStartTag(const CSafeBuf& markup)
{
    const unsigned short* s = markup;
    const int n = markup.Length();
    for (int i = 0; i < n; ++i) {
        if (s[i] != '<')
            continue;
        int j = i + 1;
        while (j < n && (s[j] == ' ' || s[j] == '\t'))
            ++j;
        if (j + 4 < n && At(s, static_cast<size_t>(n), j, "body")) {
            const unsigned short after = s[j + 4];
            if (after == ' ' || after == '\t' || after == '/' || after == '>')
                return true;
        }
    }
    return false;
}

void RemoveProcessingInstructions(CSafeBuf& markup)
{
    RemoveSections(
        markup,
        [](const unsigned short* s, int n, int i) { return s[i] == '<' && i + 1 < n && s[i + 1] == '?'; },
        [](const unsigned short* s, int n, int i) { return PastNext(s, n, i + 2, "?>"); },
        [](const unsigned short*, int, int) { return false; });
}

void RemoveFirstAndLastTag(CSafeBuf& markup)
{
    const int firstOpen = markup.Find('<');
    const int firstClose = firstOpen < 0 ? -1 : markup.Find('>', firstOpen);
    if (firstClose >= 0)
        markup.Delete(firstOpen, firstClose - firstOpen + 1);
    const int lastOpen = markup.ReverseFind('<');
    const int lastClose = markup.ReverseFind('>');
    if (lastOpen >= 0 && lastClose > lastOpen)
        markup.Delete(lastOpen, lastClose - lastOpen + 1);
}

void RemoveMarkedSections(CSafeBuf& markup)
{
    RemoveSections(
        markup,
        [](const unsigned short* s, int n, int i) {
            return s[i] == '<' && At(s, static_cast<size_t>(n), static_cast<size_t>(i), "<![");
        },
        [](const unsigned short* s, int n, int i) {
            if (At(s, static_cast<size_t>(n), static_cast<size_t>(i), "<![CDATA[")) {
                const int end = PastNext(s, n, i + 9, "]]>");
                return end < 0 ? n : end;
            }
            return PastNext(s, n, i + 3, "]>");
        },
        [](const unsigned short* s, int n, int i) {
            return At(s, static_cast<size_t>(n), static_cast<size_t>(i), "<![CDATA[");
        });
}

void SplitSectionEndsInScripts(CSafeBuf& markup)
{
    if (markup.Find("]]>") < 0)
        return;
    const CSafeBuf& in = markup;
    const unsigned short* s = in;
    const int n = in.Length();
    const size_t size = static_cast<size_t>(n);
    CSafeBuf out;
    bool changed = false;
    int kept = 0;
    // The "]]>" at j written as replacement.
    auto replace = [&](int j, const char* replacement) {
        out.Append(s + kept, j - kept);
        out += replacement;
        kept = j + 3;
        changed = true;
    };
    int i = 0;
    while (i < n) {
        if (s[i] != '<') {
            ++i;
            continue;
        }
        if (const int past = PastCommentOrSection(s, n, i); past != i) {
            i = past;
            continue;
        }
        int j = i + 1;
        while (j < n && !IsBlank(s[j]) && s[j] != '/' && s[j] != '>')
            ++j;
        const bool script = IsNamed(s + i + 1, j - i - 1, "script");
        if (!script && !IsNamed(s + i + 1, j - i - 1, "style")) {
            i = j;
            continue;
        }
        j = StartTagEnd(s, n, j);
        if (j >= n)
            break;
        const int start = j + 1;
        if (s[j - 1] == '/') {
            i = start;
            continue;
        }
        const int end = FindEndTag(s, n, start, script ? "script" : "style");
        int open = -1, close = -1;
        for (int k = start; k + 3 <= end; ++k) {
            if (open < 0 && k + 9 <= end && At(s, size, static_cast<size_t>(k), "<![CDATA["))
                open = k;
            else if (s[k] == ']' && At(s, size, static_cast<size_t>(k), "]]>") && open >= 0 && k >= open + 9)
                close = k;
        }
        for (int k = start; k + 3 <= end; ++k) {
            if (s[k] != ']' || !At(s, size, static_cast<size_t>(k), "]]>") || k == close)
                continue;
            const bool inside = open >= 0 && k > open && k < close;
            replace(k, inside ? "]]]]><![CDATA[>" : "]]&gt;");
            k += 2;
        }
        i = end;
    }
    if (!changed)
        return;
    out.Append(s + kept, n - kept);
    markup.ReplaceWith(&out);
}

void RemoveCommentsOutsideText(CSafeBuf& markup)
{
    if (markup.Find("<!--") < 0)
        return;
    const CSafeBuf& in = markup;
    const unsigned short* s = in;
    const int n = in.Length();
    CSafeBuf out;
    bool changed = false;
    int kept = 0;
    int i = 0;
    while (i < n) {
        if (s[i] != '<') {
            ++i;
            continue;
        }
        if (At(s, static_cast<size_t>(n), static_cast<size_t>(i), "<!--")) {
            const int end = PastNext(s, n, i + 4, "-->");
            if (end < 0)
                break; // an unclosed comment stays, as Tidy reads it
            out.Append(s + kept, i - kept);
            kept = i = end;
            changed = true;
            continue;
        }
        if (const int past = PastCommentOrSection(s, n, i); past != i) {
            i = past;
            continue;
        }
        int j = i + 1;
        while (j < n && !IsBlank(s[j]) && s[j] != '/' && s[j] != '>')
            ++j;
        const char* element = nullptr;
        for (const char* name : {"script", "style", "textarea", "title"})
            if (IsNamed(s + i + 1, j - i - 1, name))
                element = name;
        if (!element) {
            i = j;
            continue;
        }
        j = StartTagEnd(s, n, j);
        if (j >= n)
            break;
        i = s[j - 1] == '/' ? j + 1 : FindEndTag(s, n, j + 1, element);
    }
    if (!changed)
        return;
    out.Append(s + kept, n - kept);
    markup.ReplaceWith(&out);
}

void RemoveFileSchemeFromAddresses(CSafeBuf& markup)
{
    if (markup.Find("file:///") < 0)
        return;
    const CSafeBuf& in = markup;
    const unsigned short* s = in;
    const int n = in.Length();
    CSafeBuf out;
    bool changed = false;
    int kept = 0;
    std::vector<unsigned short> value;
    int i = 0;
    while (i < n) {
        if (s[i] != '<') {
            ++i;
            continue;
        }
        if (const int past = PastCommentOrSection(s, n, i); past != i) {
            i = past;
            continue;
        }
        if (i + 1 >= n || !IsAsciiLetter(s[i + 1])) {
            ++i;
            continue;
        }
        // A start tag: its name, then its attributes up to ">".
        int j = i + 1;
        while (j < n && !IsBlank(s[j]) && s[j] != '/' && s[j] != '>')
            ++j;
        const unsigned short* tagName = s + i + 1;
        const int tagLength = j - i - 1;
        bool selfClosed = false;
        while (j < n) {
            while (j < n && (IsBlank(s[j]) || s[j] == '/')) {
                selfClosed = s[j] == '/';
                ++j;
            }
            if (j >= n || s[j] == '>') {
                j += j < n ? 1 : 0;
                break;
            }
            selfClosed = false;
            const int nameStart = j;
            while (j < n && !IsBlank(s[j]) && s[j] != '=' && s[j] != '>' && s[j] != '/')
                ++j;
            if (j == nameStart) { // a stray "=": pass over it
                ++j;
                continue;
            }
            const int nameEnd = j;
            while (j < n && IsBlank(s[j]))
                ++j;
            if (j >= n || s[j] != '=')
                continue;
            ++j;
            while (j < n && IsBlank(s[j]))
                ++j;
            int valueStart = j;
            int valueEnd = j;
            if (j < n && (s[j] == '"' || s[j] == '\'')) {
                const unsigned short quote = s[j];
                valueStart = j + 1;
                valueEnd = valueStart;
                while (valueEnd < n && s[valueEnd] != quote)
                    ++valueEnd;
                j = valueEnd < n ? valueEnd + 1 : n;
            } else {
                while (j < n && !IsBlank(s[j]) && s[j] != '>')
                    ++j;
                valueEnd = j;
            }
            if (!IsAddressAttribute(s + nameStart, nameEnd - nameStart))
                continue;
            value.assign(s + valueStart, s + valueEnd);
            const size_t before = value.size();
            DeleteFileScheme(value);
            if (value.size() == before)
                continue;
            out.Append(s + kept, valueStart - kept);
            if (!value.empty())
                out.Append(value.data(), static_cast<int>(value.size()));
            kept = valueEnd;
            changed = true;
        }
        i = j;
        // The content of script and style elements is text.
        if (!selfClosed && (IsNamed(tagName, tagLength, "script") || IsNamed(tagName, tagLength, "style")))
            i = FindEndTag(s, n, i, IsNamed(tagName, tagLength, "script") ? "script" : "style");
    }
    if (!changed)
        return;
    out.Append(s + kept, n - kept);
    markup.ReplaceWith(&out);
}
