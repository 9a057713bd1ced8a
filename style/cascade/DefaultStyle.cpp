#include "style/cascade/DefaultStyle.h"

#include "base/geometry/Colour.h"
#include "base/text/SafeBuf.h"
#include "element/Element.h"
#include "element/TagName.h"
#include "style/records/FontDefaults.h"
#include "style/records/StyleRecords.h"

#include <initializer_list>

namespace {

// The family number of the monospace family.
constexpr long kMonospaceFont = 1;

// The tag is the ASCII name, unit for byte. Compared here rather than by a
// call: every element's restyle asks this about its tag.
bool Is(const unsigned short* tag, const char* name)
{
    for (; *name; ++tag, ++name) {
        if (*tag != static_cast<unsigned char>(*name))
            return false;
    }
    return *tag == 0;
}

bool IsAny(const unsigned short* tag, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (Is(tag, name))
            return true;
    }
    return false;
}

void Weight(ELEMENT_STYLE& s, int weight)
{
    s.fontSet = 1;
    s.fontWeight = weight;
    s.weightSet = 1;
}

void Size(ELEMENT_STYLE& s, int size, int unit)
{
    s.fontSet = 1;
    s.fontSize = static_cast<std::int16_t>(size);
    s.fontSizeUnit = static_cast<std::int16_t>(unit);
    s.sizeSet = 1;
}

void Family(ELEMENT_STYLE& s, const char* family)
{
    s.fontSet = 1;
    s.fontFamily.Set(family);
    s.fontNumber = static_cast<std::int32_t>(kMonospaceFont);
    s.familySet = 1;
}

void Align(ELEMENT_STYLE& s, std::uint16_t horizontal, std::uint16_t vertical)
{
    s.align = static_cast<std::uint16_t>(horizontal | vertical);
    s.hAlignSet = horizontal != 0;
    s.vAlignSet = vertical != 0;
}

void GreyFrame(ELEMENT_STYLE& s)
{
    s.borderSet = 1;
    for (BORDER_SIDE& side : s.border)
        side = BORDER_SIDE{kLineSolid, 1, kUnitPixels, static_cast<std::int32_t>(RGB(192, 192, 192)), 1, 1};
}

void Margin(STYLE_TYPE& cell, int value)
{
    SetStyleType(&cell, value, kUnitPixels, 0, kOriginNone, true, false, false, nullptr);
}

// The tags that have a default presentation, told apart by their first unit
// before any comparison: most elements (p, a, li, text runs ...) have none,
// and their style is then not touched at all (not made the element's own).
enum class Defaults : unsigned char
{
    None,
    Strong,
    Bold,
    SubSup,
    Big,
    Small,
    Italic,
    Monospace,
    Pre,
    Heading,
    Th,
    Td,
    Caption,
    Fieldset,
    Img,
    Bdo,
    List
};

Defaults DefaultsOf(const unsigned short* tag)
{
    switch (tag[0]) {
    case 'a': return Is(tag, "address") ? Defaults::Italic : Defaults::None;
    case 'b':
        return Is(tag, "b")  ? Defaults::Bold
            : Is(tag, "big") ? Defaults::Big
            : Is(tag, "bdo") ? Defaults::Bdo
                             : Defaults::None;
    case 'c':
        return Is(tag, "cite")   ? Defaults::Italic
            : Is(tag, "code")    ? Defaults::Monospace
            : Is(tag, "caption") ? Defaults::Caption
                                 : Defaults::None;
    case 'd': return Is(tag, "dfn") ? Defaults::Italic : Defaults::None;
    case 'e': return Is(tag, "em") ? Defaults::Italic : Defaults::None;
    case 'f': return Is(tag, "fieldset") ? Defaults::Fieldset : Defaults::None;
    case 'h': return tag[1] >= '1' && tag[1] <= '6' && tag[2] == 0 ? Defaults::Heading : Defaults::None;
    case 'i': return Is(tag, "i") ? Defaults::Italic : Is(tag, "img") ? Defaults::Img : Defaults::None;
    case 'k': return Is(tag, "kbd") ? Defaults::Monospace : Defaults::None;
    case 'o': return Is(tag, "ol") ? Defaults::List : Defaults::None;
    case 'p': return Is(tag, "pre") ? Defaults::Pre : Defaults::None;
    case 's':
        return Is(tag, "strong")         ? Defaults::Strong
            : IsAny(tag, {"sub", "sup"}) ? Defaults::SubSup
            : Is(tag, "small")           ? Defaults::Small
            : Is(tag, "samp")            ? Defaults::Monospace
                                         : Defaults::None;
    case 't': return Is(tag, "th") ? Defaults::Th : Is(tag, "td") ? Defaults::Td : Defaults::None;
    case 'u': return Is(tag, "ul") ? Defaults::List : Defaults::None;
    case 'v': return Is(tag, "var") ? Defaults::Italic : Defaults::None;
    default: return Defaults::None;
    }
}

// Gives e the presentation which; tag is the tag it was found for (whose
// second unit is a heading's level).
void Apply(Defaults which, const unsigned short* tag, CElement* e)
{
    ELEMENT_STYLE& s = e->EditStyle();
    switch (which) {
    case Defaults::None: break;
    case Defaults::Strong: Weight(s, 900); break;
    case Defaults::Bold: Weight(s, 700); break;
    case Defaults::SubSup: Size(s, 82, kUnitPercent); break;
    case Defaults::Big: Size(s, 133, kUnitPercent); break;
    case Defaults::Small: Size(s, 80, kUnitPercent); break;
    case Defaults::Italic:
        s.fontSet = 1;
        s.italic = 1;
        s.italicSet = 1;
        break;
    case Defaults::Monospace: Family(s, "courier new"); break;
    case Defaults::Pre:
        Family(s, "Courier New");
        Size(s, 13, kUnitPixels);
        break;
    case Defaults::Heading: {
        static const int kSizes[6] = {32, 24, 18, 16, 13, 10};
        Weight(s, 700);
        Size(s, kSizes[tag[1] - '1'], kUnitPixels);
        break;
    }
    case Defaults::Th:
        Weight(s, 700);
        Align(s, kAlignCenter, kAlignMiddle);
        break;
    case Defaults::Td: Align(s, 0, kAlignMiddle); break;
    case Defaults::Caption:
        Align(s, kAlignCenter, 0);
        GreyFrame(s);
        break;
    case Defaults::Fieldset:
        GreyFrame(s);
        s.widthSet = 1;
        s.widthUnit = kUnitPercent;
        s.width = 100;
        break;
    case Defaults::Img:
        s.colorSet = 1;
        s.color = 0;
        break;
    case Defaults::Bdo:
        SetStyleType(&s.direction, kDirectionRtl, 0, 0, kOriginNone, true, false, false, nullptr);
        s.rtl = 1;
        break;
    case Defaults::List: {
        const int spacing = kBaseFontSize + 3;
        Margin(s.marginLeft, 50);
        Margin(s.marginTop, e->m_prevSibling ? spacing : 0);
        Margin(s.marginBottom, e->m_nextSibling ? spacing : 0);
        break;
    }
    }
}

} // namespace

void SetDefaultStyle(const unsigned short* tag, CElement* e)
{
    if (!tag || !e)
        return;
    const Defaults which = DefaultsOf(tag);
    if (which != Defaults::None)
        Apply(which, tag, e);
}

void SetDefaultStyle(const CTagName& tag, CElement* e)
{
    const Defaults which = static_cast<Defaults>(tag.DefaultStyleClass());
    if (which != Defaults::None && e)
        Apply(which, tag.Get(), e);
}

unsigned char DefaultStyleClass(const unsigned short* tag)
{
    return static_cast<unsigned char>(tag ? DefaultsOf(tag) : Defaults::None);
}

void SetDefaultStyle(const char* tag, CElement* e)
{
    if (!tag)
        return;
    const CSafeBuf wide(reinterpret_cast<const unsigned char*>(tag));
    SetDefaultStyle(static_cast<const unsigned short*>(wide), e);
}
