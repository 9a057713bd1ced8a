// Selector matching. A subject is an element, or a stand-in made of a tag
// name and an attribute map; chains are walked with a subject that moves to
// the parent or to the previous element sibling.

#include "style/cascade/SelectorMatch.h"

#include "base/collections/MapStringToString.h"
#include "base/text/Ascii.h"
#include "base/text/U16.h"
#include "element/Element.h"
#include "style/sheets/StyleClass.h"

namespace {

struct Subject
{
    CElement* e;
    const unsigned short* tag;
    CMapStringToString* map;
    CMatchContext* context;
};

Subject Of(CElement* e, CMatchContext* context)
{
    return Subject{e, e ? e->GetTagName() : nullptr, nullptr, context};
}

// The attribute from the element, else from the map; an empty value counts
// as none.
bool Attribute(const Subject& s, const unsigned short* name, CSafeBuf& value)
{
    value.Empty();
    if (s.e && s.e->m_attributes.Lookup(name, value) && !value.IsEmpty())
        return true;
    value.Empty();
    return s.map && s.map->Lookup(name, value) && !value.IsEmpty();
}

// The id of the subject: the element's own, else the map's.
bool MatchId(const Subject& s, const CSafeBuf& expected)
{
    if (s.e) {
        const CSafeBuf& own = s.context->Id(s.e);
        if (!own.IsEmpty() || !s.map)
            return !own.IsEmpty() && own == expected;
    }
    CSafeBuf id;
    return s.map && s.map->Lookup("id", id) && !id.IsEmpty() && id == expected;
}

// Whether word (n units) is the whole list or one of its space-separated
// words.
bool HasWord(const CSafeBuf& list, const unsigned short* word, int n)
{
    const unsigned short* text = list;
    const int length = list.Length();
    if (n <= 0)
        return false;
    if (length == n && U16ncmp(text, word, n) == 0)
        return true;
    int start = 0;
    for (int i = 0; i <= length; ++i) {
        if (i < length && text[i] != ' ')
            continue;
        if (i - start == n && U16ncmp(text + start, word, n) == 0)
            return true;
        start = i + 1;
    }
    return false;
}

// Every space-separated name of names is in list.
bool HasAllWords(const CSafeBuf& list, const CSafeBuf& names)
{
    if (list.IsEmpty())
        return false;
    const unsigned short* text = names;
    int start = 0;
    for (int i = 0; i <= names.Length(); ++i) {
        if (i < names.Length() && text[i] != ' ')
            continue;
        if (i > start && !HasWord(list, text + start, i - start))
            return false;
        start = i + 1;
    }
    return true;
}

// The class list is the element's "class" attribute joined with the map's
// "class" entry.
bool MatchClasses(const Subject& s, const CSafeBuf& names)
{
    if (s.e && !s.map)
        return HasAllWords(s.context->Classes(s.e), names);
    CSafeBuf list, extra;
    if (s.e)
        list = s.context->Classes(s.e);
    if (s.map && s.map->Lookup("class", extra) && !extra.IsEmpty()) {
        if (!list.IsEmpty())
            list += ' ';
        list += extra;
    }
    return HasAllWords(list, names);
}

// value equals expected, or begins with it followed by "-".
bool EqualsOrDashed(const CSafeBuf& value, const CSafeBuf& expected, bool noCase)
{
    const int n = expected.Length();
    if (value.Length() < n)
        return false;
    const bool head = noCase ? U16nicmp(value, expected, n) == 0 : U16ncmp(value, expected, n) == 0;
    return head && (value.Length() == n || value.GetAt(n) == '-');
}

bool MatchLang(const Subject& s, const CSafeBuf& expected)
{
    static const unsigned short kLang[] = {'l', 'a', 'n', 'g', 0};
    CSafeBuf lang;
    bool found = Attribute(s, kLang, lang);
    if (!s.e && !found)
        return true;
    for (CElement* a = s.e ? s.e->m_parent : nullptr; !found && a; a = a->m_parent)
        found = a->m_attributes.Lookup(kLang, lang) && !lang.IsEmpty();
    return found && EqualsOrDashed(lang, expected, true);
}

bool MatchAttribute(const Subject& s, const SELECTOR_STATEMENT& c)
{
    CSafeBuf value;
    if (!Attribute(s, c.name, value))
        return false;
    switch (c.op) {
    case kAttrPresent: return true;
    case kAttrEquals: return value == c.value;
    case kAttrWord: return HasWord(value, c.value, c.value.Length());
    case kAttrDashed: return EqualsOrDashed(value, c.value, false);
    default: return true;
    }
}

bool MatchOne(const Subject& s, const SELECTOR_STATEMENT& c, int mode)
{
    switch (c.kind) {
    case kSelectorUniversal: return true;
    case kSelectorType: return c.value.IsEmpty() || (s.tag && c.value == s.tag);
    case kSelectorId: return MatchId(s, c.value);
    case kSelectorClass: return mode == 1 || MatchClasses(s, c.value);
    case kSelectorAttribute: return MatchAttribute(s, c);
    case kSelectorLang: return MatchLang(s, c.value);
    case kSelectorFirstChild: return !s.e || !s.e->GetBrother(false, false, true);
    default: return false; // pseudo-elements, ::selection
    }
}

bool MatchCompound(const Subject& s, const SELECTOR_STATEMENT* compound, int mode)
{
    if (!compound)
        return false;
    for (const SELECTOR_STATEMENT* c = compound; c; c = c->nextCondition) {
        if (!MatchOne(s, *c, mode))
            return false;
    }
    return true;
}

bool IsCombinator(int kind)
{
    return kind == kSelectorChild || kind == kSelectorDescendant || kind == kSelectorAdjacent;
}

// Steps from the right. A step is found where the combinator before it
// (written right of its compound) says: a descendant step searches upwards
// from the subject, the others must match the subject itself. The walk then
// moves by the step's own combinator: to the previous element sibling for
// "+", else to the parent. The search takes the nearest ancestor that
// matches; it does not try farther ones when a later step fails.
bool MatchChain(const Subject& start, const SELECTOR_STATEMENT* chain, int mode)
{
    Subject cur = start;
    int before = 0; // the kind of the step just matched
    bool first = true;
    for (const SELECTOR_STATEMENT* step = chain; step; step = step->nextStep) {
        if (!first && before == kSelectorDescendant) {
            while (cur.e && !MatchCompound(cur, step->nextCondition, 0))
                cur = Of(cur.e->m_parent, cur.context);
            if (!cur.e)
                return false;
        } else if (!MatchCompound(cur, step->nextCondition, first ? mode : 0)) {
            return false;
        }
        if (step->nextStep) {
            if (!cur.e)
                return false;
            CElement* next
                = step->kind == kSelectorAdjacent ? cur.e->GetBrother(false, false, true) : cur.e->m_parent;
            cur = Of(next, cur.context);
            if (!cur.e)
                return false;
        }
        before = step->kind;
        first = false;
    }
    return true;
}

bool Check(CMatchContext& context, CElement* e, SELECTOR_STATEMENT* statement, int mode,
    const unsigned short* tag, CMapStringToString* attributes)
{
    if (!statement)
        return false;
    Subject s{e, e ? e->GetTagName() : tag, attributes, &context};
    if (IsCombinator(statement->kind))
        return MatchChain(s, statement, mode);
    return MatchCompound(s, statement, mode);
}

} // namespace

CMatchContext::Item& CMatchContext::Find(const CElement* e)
{
    for (Item& item : m_items) {
        if (item.e == e)
            return item;
    }
    if (m_items.empty())
        m_items.reserve(16);
    m_items.push_back(Item{e, nullptr, nullptr});
    Item& item = m_items.back();
    if (e && !e->m_attributes.IsEmpty()) {
        CSafeBuf value;
        if (e->m_attributes.Lookup("id", value))
            item.id = std::make_unique<CSafeBuf>(value);
        if (e->m_attributes.Lookup("class", value))
            item.classes = std::make_unique<CSafeBuf>(value);
    }
    return item;
}

const CSafeBuf& CMatchContext::Text(const std::unique_ptr<CSafeBuf>& text)
{
    static const CSafeBuf kNone;
    return text ? *text : kNone;
}

bool StyleCheckCnd(CElement* e, SELECTOR_STATEMENT* statement, int mode, const unsigned short* tag,
    CMapStringToString* attributes)
{
    CMatchContext context;
    return Check(context, e, statement, mode, tag, attributes);
}

STYLE_SELECTOR* DoesStyleFit(
    CElement* e, STYLE_CLASS* rule, int mode, const unsigned short* tag, CMapStringToString* attributes)
{
    if (!rule || rule->invalid)
        return nullptr;
    CMatchContext context;
    for (STYLE_SELECTOR* s = rule->selectors; s; s = s->next) {
        if (Check(context, e, s->statement, mode, tag, attributes))
            return s;
    }
    return nullptr;
}

STYLE_SELECTOR* DoesStyleFit(CMatchContext& context, CElement* e, STYLE_CLASS* rule, int mode)
{
    if (!rule || rule->invalid || !e)
        return nullptr;
    for (STYLE_SELECTOR* s = rule->selectors; s; s = s->next) {
        if (Check(context, e, s->statement, mode, nullptr, nullptr))
            return s;
    }
    return nullptr;
}
