// Font properties of the CSS property parser: "font-size", "font-style",
// "font-weight", "font-variant", "font-family", the "font" shorthand, and the
// resolution of a family list against the document's installed fonts.

#include "element/services/XDocServices.h"

#include "base/text/Ascii.h"
#include "base/text/TextUtils.h"
#include "style/parser/CssWords.h"
#include "style/parser/PropertyHandlers.h"
#include "style/records/FontDefaults.h"

#include <vector>

using namespace qm::css;

namespace {

constexpr int kNormalWeight = 300;
// Names of a family list looked up at most: each costs a pass over the
// installed fonts, and no real list comes near this length.
constexpr int kMaxFamilyNames = 100;

const Keyword kWeights[] = {{"bold", 700}, {"bolder", 900}, {"normal", kNormalWeight}, {nullptr, 0}};
// 1 italic, 0 upright: oblique text is drawn upright.
const Keyword kStyles[] = {{"italic", 1}, {"normal", 0}, {"oblique", 0}, {nullptr, 0}};

bool ParseWeight(const CSafeBuf& value, int& weight)
{
    if (FindKeyword(value, kWeights, true, weight))
        return true;
    if (value.Length() != 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (!IsAsciiDigit(value.GetAt(i)))
            return false;
    }
    const int n = (value.GetAt(0) - '0') * 100 + (value.GetAt(1) - '0') * 10 + (value.GetAt(2) - '0');
    if (n < 100 || n % 100 != 0)
        return false;
    weight = n;
    return true;
}

bool IsVariant(const CSafeBuf& value) { return value == "normal" || value == "small-caps"; }

void MarkFont(ELEMENT_STYLE& style)
{
    style.fontSet = 1;
    style.fontOrigin = kOriginRule;
}

void SetItalic(ELEMENT_STYLE& style, int italic)
{
    style.italic = static_cast<std::uint8_t>(italic);
    style.italicSet = 1;
    style.italicExplicit = 1;
    style.italicInherited = 0;
}

void SetWeight(ELEMENT_STYLE& style, int weight)
{
    style.fontWeight = weight;
    style.weightSet = 1;
    style.weightExplicit = 1;
    style.weightInherited = 0;
}

// The family as written (cut to the field) with the font number its list
// resolves to.
void SetFamily(CXDocServices& doc, ELEMENT_STYLE& style, const CSafeBuf& family)
{
    CSafeBuf resolved(family);
    style.fontNumber = static_cast<std::int32_t>(doc.ValidateFontFamily(resolved));
    style.fontFamily.Set(family);
    style.familySet = 1;
    style.familyInherited = 0;
}

CSafeBuf Lowered(const CSafeBuf& text)
{
    CSafeBuf lower(text);
    lower.MakeLower();
    return lower;
}

} // namespace

bool CXDocServices::CheckFontValue(ELEMENT_STYLE& style, CSafeBuf& value, const unsigned short* property)
{
    if (!property)
        return false;
    const CSafeBuf name(property);
    if (name == "font-size")
        return ParseFontSizeValue(&style, value);
    if (name == "font-style") {
        int italic = 0;
        if (!FindKeyword(value, kStyles, true, italic))
            return false;
        SetItalic(style, italic);
    } else if (name == "font-weight") {
        int weight = 0;
        if (!ParseWeight(value, weight))
            return false;
        SetWeight(style, weight);
    } else if (name == "font-variant") {
        return IsVariant(value);
    } else if (name == "font-family") {
        if (value.IsEmpty())
            return false;
        SetFamily(*this, style, value);
    } else {
        return false;
    }
    MarkFont(style);
    return true;
}

bool CXDocServices::CheckFontValue(ELEMENT_STYLE& style, CSafeBuf& value, const char* property)
{
    if (!property)
        return false;
    const CSafeBuf name(property);
    return CheckFontValue(style, value, static_cast<const unsigned short*>(name));
}

long CXDocServices::ValidateFontFamily(CSafeBuf& family)
{
    struct Generic
    {
        const char* name;
        const CSafeBuf& family;
        long font;
    };
    const Generic generics[] = {{"serif", m_serifFamily, m_serifFont},
        {"sans-serif", m_sansSerifFamily, m_sansSerifFont}, {"cursive", m_cursiveFamily, m_cursiveFont},
        {"fantasy", m_fantasyFamily, m_fantasyFont}, {"monospace", m_monospaceFamily, 1}};

    // The installed fonts with their lower-cased names, made once a call.
    struct Installed
    {
        const FONT_LIST_ITEM* item;
        CSafeBuf lowered;
    };
    std::vector<Installed> fonts;

    const CSafeBuf list(family);
    int start = 0, tried = 0;
    while (start <= list.Length() && tried < kMaxFamilyNames) {
        int end = list.Find(',', start);
        if (end < 0)
            end = list.Length();
        CSafeBuf name = list.Mid(start, end - start);
        start = end + 1;
        name.Trim();
        RemoveQuote(name);
        name.BufferChanged();
        name.Trim();
        // An empty name would be found inside every font name.
        if (name.IsEmpty())
            continue;
        ++tried;
        for (const Generic& g : generics) {
            if (name.CompareNoCase(g.name) == 0) {
                family = g.family.IsEmpty() ? name : g.family;
                return g.font;
            }
        }
        if (fonts.empty()) {
            for (const FONT_LIST_ITEM* f = m_fontList; f; f = f->next)
                fonts.push_back({f, Lowered(f->name)});
        }
        const CSafeBuf wanted = Lowered(name);
        const FONT_LIST_ITEM* partial = nullptr;
        for (const Installed& f : fonts) {
            if (f.lowered == wanted) {
                family = f.item->name;
                return f.item->fontNumber;
            }
            if (!partial && f.lowered.Length() > wanted.Length()
                && f.lowered.Find(static_cast<const unsigned short*>(wanted)) >= 0)
                partial = f.item;
        }
        if (name.CompareNoCase("times") == 0)
            break;
        if (partial) {
            family = partial->name;
            return partial->fontNumber;
        }
    }
    family = kDefaultFontFamily;
    return m_defaultFontNumber;
}

namespace qm::css {

// The words before the size are a variant, a style and a weight in any
// order; the size may carry "/" and a line height; the word after the size
// is the family list when it starts with a letter or a quote, and later
// words are ignored. Omitted parts reset to upright, weight 300, size 0 and
// no family; nothing is taken over unless a family was found.
bool ParseFontShorthand(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    ELEMENT_STYLE copy = style;
    copy.italic = 0;
    copy.fontWeight = kNormalWeight;
    copy.fontSize = 0;
    copy.fontSizeUnit = kUnitPixels;
    copy.fontFamily.Clear();
    bool sized = false;
    for (CSafeBuf& word : SplitWords(value, true)) {
        if (sized) {
            const unsigned short first = word.GetAt(0);
            if (!IsAsciiLetter(first) && first != '"' && first != '\'')
                return false;
            SetItalic(style, copy.italic);
            SetWeight(style, copy.fontWeight);
            style.fontSize = copy.fontSize;
            style.fontSizeUnit = copy.fontSizeUnit;
            style.sizeSet = 1;
            style.sizeInherited = 0;
            SetFamily(doc, style, word);
            style.lineHeight = copy.lineHeight;
            MarkFont(style);
            return true;
        }
        int code = 0;
        if (IsVariant(word))
            continue;
        if (FindKeyword(word, kStyles, true, code)) {
            copy.italic = static_cast<std::uint8_t>(code);
            continue;
        }
        if (ParseWeight(word, code)) {
            copy.fontWeight = code;
            continue;
        }
        const int slash = word.Find('/');
        CSafeBuf size = slash >= 0 ? word.Left(slash) : word;
        if (!doc.ParseFontSizeValue(&copy, size))
            return false;
        if (slash >= 0) {
            CSafeBuf height = word.Mid(slash + 1, word.Length() - slash - 1);
            if (!ParseLineHeight(doc, copy.lineHeight, height))
                return false;
        }
        sized = true;
    }
    return false;
}

} // namespace qm::css
