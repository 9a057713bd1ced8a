// Selector matching. A subject is an element, or a stand-in made of a tag
// name and an attribute map; chains are walked with a subject that moves to
// the parent or to the previous element sibling.

#include "style/cascade/SelectorMatch.h"

#include "base/collections/MapStringToString.h"
#include "base/text/Ascii.h"
#include "base/text/U16.h"
#include "element/Element.h"
#include "style/cascade/ClassList.h"
#include "style/sheets/StyleClass.h"

namespace {

struct Subject
{
    CElement* e;
    const unsigned short* tag;
    CMapStringToString* map;
};

Subject Of(CElement* e) { return Subject{e, e ? e->GetTagName() : nullptr, nullptr}; }

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

bool Attribute(const Subject& s, const char* name, CSafeBuf& value)
{
    const CSafeBuf wide(name);
    return Attribute(s, static_cast<const unsigned short*>(wide), value);
}

bool IsWordOf(const CSafeBuf& words, const CSafeBuf& word)
{
    return HasClasInMultipleClass(nullptr, word, words);
}

bool MatchClasses(const Subject& s, const CSafeBuf& names)
{
    CSafeBuf list, extra;
    if (s.e)
        s.e->m_attributes.Lookup("class", list);
    if (s.map && s.map->Lookup("class", extra) && !extra.IsEmpty()) {
        if (!list.IsEmpty())
            list += ' ';
        list += extra;
    }
    if (list.IsEmpty())
        return false;
    int start = 0;
    for (int i = 0; i <= names.Length(); ++i) {
        if (i < names.Length() && names.GetAt(i) != ' ')
            continue;
        if (i > start && !IsWordOf(list, names.Mid(start, i - start)))
            return false;
        start = i + 1;
    }
    return true;
}

// value equals expected, or begins with it followed by "-".
bool EqualsOrDashed(const CSafeBuf& value, const CSafeBuf& expected, bool noCase)
{
    const int n = expected.Length();
    const bool head = noCase ? U16nicmp(value, expected, n) == 0 : U16ncmp(value, expected, n) == 0;
    if (!head || value.Length() < n)
        return false;
    return value.Length() == n || value.GetAt(n) == '-';
}

bool MatchLang(const Subject& s, const CSafeBuf& expected)
{
    CSafeBuf lang;
    bool found = Attribute(s, "lang", lang);
    if (!s.e && !found)
        return true;
    for (CElement* a = s.e ? s.e->m_parent : nullptr; !found && a; a = a->m_parent)
        found = a->m_attributes.Lookup("lang", lang) && !lang.IsEmpty();
    return found && EqualsOrDashed(lang, expected, true);
}

bool MatchOne(const Subject& s, const SELECTOR_STATEMENT& c, int mode)
{
    CSafeBuf value;
    switch (c.kind) {
    case kSelectorUniversal: return true;
    case kSelectorType: return c.value.IsEmpty() || (s.tag && c.value == s.tag);
    case kSelectorId: return Attribute(s, "id", value) && value == c.value;
    case kSelectorClass: return mode == 1 || MatchClasses(s, c.value);
    case kSelectorAttribute:
        if (!Attribute(s, c.name, value))
            return false;
        switch (c.op) {
        case kAttrPresent: return true;
        case kAttrEquals: return value == c.value;
        case kAttrWord: return IsWordOf(value, c.value);
        case kAttrDashed: return EqualsOrDashed(value, c.value, false);
        default: return true;
        }
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
                cur = Of(cur.e->m_parent);
            if (!cur.e)
                return false;
        } else if (!MatchCompound(cur, step->nextCondition, first ? mode : 0)) {
            return false;
        }
        if (step->nextStep) {
            if (!cur.e)
                return false;
            cur = Of(
                step->kind == kSelectorAdjacent ? cur.e->GetBrother(false, false, true) : cur.e->m_parent);
            if (!cur.e)
                return false;
        }
        before = step->kind;
        first = false;
    }
    return true;
}

} // namespace

bool StyleCheckCnd(CElement* e, SELECTOR_STATEMENT* statement, int mode, const unsigned short* tag,
    CMapStringToString* attributes)
{
    if (!statement)
        return false;
    Subject s{e, e ? e->GetTagName() : tag, attributes};
    if (IsCombinator(statement->kind))
        return MatchChain(s, statement, mode);
    return MatchCompound(s, statement, mode);
}

STYLE_SELECTOR* DoesStyleFit(
    CElement* e, STYLE_CLASS* rule, int mode, const unsigned short* tag, CMapStringToString* attributes)
{
    if (!rule || rule->invalid)
        return nullptr;
    for (STYLE_SELECTOR* s = rule->selectors; s; s = s->next) {
        if (StyleCheckCnd(e, s->statement, mode, tag, attributes))
            return s;
    }
    return nullptr;
}
