#include "style/cascade/RuleIndex.h"

#include "base/text/U16.h"
#include "element/Element.h"
#include "element/services/XDocServices.h"
#include "style/cascade/SelectorMatch.h"
#include "style/sheets/StyleClass.h"

#include <algorithm>

namespace {

std::u16string Key(const unsigned short* text, int length)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length));
}

std::u16string Key(const CSafeBuf& text) { return Key(text, text.Length()); }

// FNV-1a of a kind mark and a name.
std::uint32_t Hash(unsigned short kind, const unsigned short* text, int length)
{
    std::uint32_t h = 2166136261u;
    auto mix = [&h](unsigned short unit) {
        h = (h ^ (unit & 0xFF)) * 16777619u;
        h = (h ^ (unit >> 8)) * 16777619u;
    };
    mix(kind);
    for (int i = 0; i < length; ++i)
        mix(text[i]);
    return h;
}

bool IsCombinator(int kind)
{
    return kind == kSelectorChild || kind == kSelectorDescendant || kind == kSelectorAdjacent;
}

// Calls f(start, length) for each space-separated word of text.
template <class F>
void ForEachWord(const CSafeBuf& text, F f)
{
    const unsigned short* units = text;
    int start = 0;
    for (int i = 0; i <= text.Length(); ++i) {
        if (i < text.Length() && units[i] != ' ')
            continue;
        if (i > start)
            f(units + start, i - start);
        start = i + 1;
    }
}

// The conditions of a compound that name an id, classes or a tag.
struct Needs
{
    const SELECTOR_STATEMENT* id = nullptr;
    const SELECTOR_STATEMENT* cls = nullptr;
    const SELECTOR_STATEMENT* type = nullptr;
};

Needs NeedsOf(const SELECTOR_STATEMENT* compound)
{
    Needs n;
    for (const SELECTOR_STATEMENT* c = compound; c; c = c->nextCondition) {
        if (c->kind == kSelectorId)
            n.id = c;
        else if (c->kind == kSelectorClass && !c->value.IsEmpty())
            n.cls = c;
        else if (c->kind == kSelectorType && !c->value.IsEmpty())
            n.type = c;
    }
    return n;
}

} // namespace

void CRuleIndex::AncestorFilter::Add(std::uint32_t key)
{
    bits[(key >> 6) & 3] |= std::uint64_t(1) << (key & 63);
    bits[(key >> 14) & 3] |= std::uint64_t(1) << ((key >> 8) & 63);
}

bool CRuleIndex::AncestorFilter::Has(std::uint32_t key) const
{
    return (bits[(key >> 6) & 3] >> (key & 63) & 1) && (bits[(key >> 14) & 3] >> ((key >> 8) & 63) & 1);
}

CRuleIndex::Entry CRuleIndex::MakeEntry(
    std::uint32_t order, STYLE_CLASS* rule, const SELECTOR_STATEMENT* selector)
{
    Entry entry{order, rule, 0, {0, 0, 0, 0}};
    if (!selector || !IsCombinator(selector->kind))
        return entry;
    // Steps reached through a parent move are ancestors of the element: every
    // step whose right-hand neighbour is joined by ">" or white space.
    for (const SELECTOR_STATEMENT* step = selector; step->nextStep && entry.keyCount < kMaxKeys;
         step = step->nextStep) {
        if (step->kind == kSelectorAdjacent)
            continue;
        const Needs n = NeedsOf(step->nextStep->nextCondition);
        auto add = [&entry](std::uint32_t key) {
            if (entry.keyCount < kMaxKeys)
                entry.keys[entry.keyCount++] = key;
        };
        if (n.id)
            add(Hash('#', n.id->value, n.id->value.Length()));
        if (n.cls)
            ForEachWord(n.cls->value, [&add](const unsigned short* w, int len) { add(Hash('.', w, len)); });
        if (n.type)
            add(Hash('<', n.type->value, n.type->value.Length()));
    }
    return entry;
}

void CRuleIndex::Build(STYLE_CLASS* working, STYLE_CLASS* editor)
{
    m_any.clear();
    m_byTag.clear();
    m_byClass.clear();
    m_byId.clear();
    m_working = working;
    m_editor = editor;
    m_built = true;
    m_setsDirection = false;
    std::uint32_t order = 0;
    for (STYLE_CLASS* list : {working, editor}) {
        for (STYLE_CLASS* rule = list; rule; rule = rule->next, ++order) {
            // Counted before the invalid are left out: an answer wider than
            // needed only costs a look-up.
            m_setsDirection = m_setsDirection || rule->style.direction.set;
            if (rule->invalid)
                continue;
            for (const STYLE_SELECTOR* s = rule->selectors; s; s = s->next) {
                const SELECTOR_STATEMENT* own = s->statement;
                if (own && IsCombinator(own->kind))
                    own = own->nextCondition;
                const Needs n = NeedsOf(own);
                const Entry entry = MakeEntry(order, rule, s->statement);
                if (n.id) {
                    m_byId[Key(n.id->value)].push_back(entry);
                } else if (n.cls) {
                    const int space = n.cls->value.Find(' ');
                    m_byClass[Key(n.cls->value, space < 0 ? n.cls->value.Length() : space)].push_back(entry);
                } else if (n.type) {
                    m_byTag[Key(n.type->value)].push_back(entry);
                } else {
                    m_any.push_back(entry);
                }
            }
        }
    }
}

void CRuleIndex::Add(const std::vector<Entry>* bucket, std::vector<const Entry*>& into)
{
    if (!bucket)
        return;
    for (const Entry& entry : *bucket)
        into.push_back(&entry);
}

void CRuleIndex::FillFilter(CElement* e, CMatchContext& context, AncestorFilter& filter)
{
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        const unsigned short* tag = a->GetTagName();
        filter.Add(Hash('<', tag, U16len(tag)));
        const CSafeBuf& id = context.Id(a);
        if (!id.IsEmpty())
            filter.Add(Hash('#', id, id.Length()));
        ForEachWord(context.Classes(a),
            [&filter](const unsigned short* w, int len) { filter.Add(Hash('.', w, len)); });
    }
}

void CRuleIndex::Candidates(CElement* e, CMatchContext& context, std::vector<STYLE_CLASS*>& out) const
{
    out.clear();
    if (!e)
        return;
    std::vector<const Entry*> found;
    Add(&m_any, found);
    auto lookUp = [&found](const Buckets& buckets, const std::u16string& key) {
        auto it = buckets.find(key);
        if (it != buckets.end())
            Add(&it->second, found);
    };
    if (!m_byTag.empty())
        lookUp(m_byTag, Key(e->GetTagName(), U16len(e->GetTagName())));
    if (!m_byId.empty() && !context.Id(e).IsEmpty())
        lookUp(m_byId, Key(context.Id(e)));
    if (!m_byClass.empty()) {
        ForEachWord(
            context.Classes(e), [&](const unsigned short* w, int len) { lookUp(m_byClass, Key(w, len)); });
    }

    AncestorFilter filter;
    bool filled = false;
    std::sort(found.begin(), found.end(), [](const Entry* a, const Entry* b) { return a->order < b->order; });
    for (const Entry* entry : found) {
        if (entry->keyCount && !filled) {
            FillFilter(e, context, filter);
            filled = true;
        }
        bool possible = true;
        for (int k = 0; k < entry->keyCount && possible; ++k)
            possible = filter.Has(entry->keys[k]);
        if (possible && (out.empty() || out.back() != entry->rule))
            out.push_back(entry->rule);
    }
}

const CRuleIndex& GetRuleIndex(CXDocServices& doc)
{
    if (!doc.m_ruleIndex)
        doc.m_ruleIndex = std::make_unique<CRuleIndex>();
    CRuleIndex& index = *doc.m_ruleIndex;
    if (!index.IsFor(doc.m_workingRules, doc.m_editorRules, doc.m_rulesGeneration)) {
        index.Build(doc.m_workingRules, doc.m_editorRules);
        index.SetGeneration(doc.m_rulesGeneration);
    }
    return index;
}

bool RulesCanSetDirection(CXDocServices& doc) { return GetRuleIndex(doc).SetsDirection(); }
