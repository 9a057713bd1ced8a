// Markup repair through HTML Tidy: fuzzed markup (UTF-8 after a first byte
// of flags) goes through CXHTML::ValidateXML, read as HTML or as XML, from
// the markup buffer or as the 8-bit source. Checked besides the absence of
// crashes and leaks:
// - the character references resolved before Tidy are those that replacing
//   pair by pair, with a scan for candidates after every change, gives (the
//   one-pass resolution against the plain loop it stands for);
// - text without "<" holds no markup that Tidy could make elements of, so
//   nothing Tidy writes back for it has a "<" either (the five markup
//   references stay references);
// - ConvertCRLFToSpace leaves no CR, LF or double blank and never lengthens
//   the text.

#include "fuzz/FuzzText.h"

#include "base/codec/EntityTable.h"
#include "base/text/SafeBuf.h"
#include "editor/TidyMarkup.h"
#include "editor/XHTML.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

std::u16string Units(const CSafeBuf& text)
{
    const unsigned short* s = text;
    return std::u16string(s, s + text.Length());
}

bool HasCandidate(const std::u16string& t)
{
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i] != '&' || t[i + 1] == '#' || t[i + 1] == '&')
            continue;
        for (size_t q = i + 2; q < t.size() && q <= i + 10; ++q) {
            if (t[q] == ';')
                return true;
            if (t[q] == '&')
                break;
        }
    }
    return false;
}

bool ReplaceAll(std::u16string& t, const char* ascii, char16_t ch)
{
    const std::u16string pattern(ascii, ascii + std::strlen(ascii));
    bool any = false;
    for (size_t at = t.find(pattern); at != std::u16string::npos; at = t.find(pattern, at + 1)) {
        t.replace(at, pattern.size(), 1, ch);
        any = true;
    }
    return any;
}

// The references resolved pair by pair, as ResolveCharacterReferences
// describes it.
std::u16string ResolvePairByPair(std::u16string t)
{
    if (!HasCandidate(t))
        return t;
    for (int i = 0; i < HTML2XML_COUNT && HTML2XML[i].name; ++i) {
        const char* name = HTML2XML[i].name;
        bool markup = false;
        for (const char* m : {"&quot;", "&amp;", "&lt;", "&gt;", "&apos;"})
            markup = markup || std::strcmp(name, m) == 0;
        if (markup)
            continue;
        const char16_t ch = static_cast<char16_t>(std::stoul(HTML2XML[i].number + 2));
        const bool changed = ReplaceAll(t, name, ch) || ReplaceAll(t, HTML2XML[i].number, ch);
        if (changed && !HasCandidate(t))
            break;
    }
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 32 * 1024)
        return 0;
    const bool xmlInput = (data[0] & 1) != 0;
    const bool asSource = (data[0] & 2) != 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (bytes.find('\0') != std::string::npos)
        return 0;
    CSafeBuf markup;
    markup.AssignUTF8(bytes.c_str());

    CSafeBuf resolved(markup);
    ResolveCharacterReferences(resolved);
    QM_FUZZ_CHECK(Units(resolved) == ResolvePairByPair(Units(markup)));

    CSafeBuf repaired(markup);
    const bool plainText = repaired.Find('<') < 0 && !xmlInput && !asSource;
    if (CXHTML::ValidateXML(repaired, nullptr, xmlInput) && plainText)
        QM_FUZZ_CHECK(repaired.Find('<') < 0);
    if (asSource) {
        CSafeBuf empty;
        CXHTML::ValidateXML(empty, bytes.c_str(), xmlInput);
    }

    CSafeBuf folded(markup);
    CXHTML::ConvertCRLFToSpace(folded);
    QM_FUZZ_CHECK(folded.Length() <= markup.Length());
    QM_FUZZ_CHECK(folded.Find(13) < 0 && folded.Find(10) < 0);
    QM_FUZZ_CHECK(Units(folded).find(u"  ") == std::u16string::npos);
    return 0;
}
