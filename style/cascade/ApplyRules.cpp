// Applying the style rules that match an element, in order of precedence.

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/cascade/RuleIndex.h"
#include "style/cascade/SelectorMatch.h"
#include "style/cascade/StyleMerge.h"
#include "style/sheets/StyleClass.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

struct Candidate
{
    STYLE_CLASS* rule;
    std::uint32_t precedence;
};

// The working sheet and the editor's sheet of the element's document; an
// element outside a document has only its own rule list.
void RuleLists(const CElement* e, STYLE_CLASS*& working, STYLE_CLASS*& editor)
{
    if (e->m_owner) {
        working = e->m_owner->m_doc.m_workingRules;
        editor = e->m_owner->m_doc.m_editorRules;
    } else {
        working = e->m_rules;
        editor = nullptr;
    }
}

} // namespace

bool MergeMatchingRules(CElement* e)
{
    if (!e->m_tagName[0])
        return false;
    // No rule to match and no piece of its own: nothing to merge. A
    // document without style sheets is answered here for every element
    // made and every restyle, without the index or a match context.
    if (e->Rare().m_stylePieces.GetCount() == 0) {
        STYLE_CLASS* working = nullptr;
        STYLE_CLASS* editor = nullptr;
        RuleLists(e, working, editor);
        if (!working && !editor)
            return false;
    }
    bool merged = false;
    try {
        std::vector<Candidate> candidates;
        for (void* pos = e->Rare().m_stylePieces.GetHeadPosition(); pos;) {
            STYLE_CLASS* rule = static_cast<STYLE_CLASS*>(e->Rare().m_stylePieces.GetNext(pos));
            if (rule)
                candidates.push_back(Candidate{rule, rule->precedence});
        }
        if (e->m_owner) {
            std::vector<STYLE_CLASS*> rules;
            CMatchContext context;
            GetRuleIndex(e->m_owner->m_doc).Candidates(e, context, rules);
            for (STYLE_CLASS* rule : rules) {
                if (STYLE_SELECTOR* s = DoesStyleFit(context, e, rule, 0))
                    candidates.push_back(Candidate{rule, s->specificity});
            }
        } else {
            CMatchContext context;
            for (STYLE_CLASS* rule = e->m_rules; rule; rule = rule->next) {
                if (STYLE_SELECTOR* s = DoesStyleFit(context, e, rule, 0))
                    candidates.push_back(Candidate{rule, s->specificity});
            }
        }
        std::stable_sort(candidates.begin(), candidates.end(),
            [](const Candidate& a, const Candidate& b) { return a.precedence < b.precedence; });
        const bool noBoxFromRules = e->m_kind == kKindMap || e->m_kind == kKindObject;
        for (const Candidate& c : candidates) {
            SetNewStyle(e, &c.rule->style, kOriginRule, false);
            merged = true;
            if (noBoxFromRules) {
                if (e->Style().widthOrigin == kOriginRule)
                    e->EditStyle().widthSet = e->EditStyle().widthOrigin = 0;
                if (e->Style().heightOrigin == kOriginRule)
                    e->EditStyle().heightSet = e->EditStyle().heightOrigin = 0;
            }
        }
    } catch (const std::bad_alloc&) {
        // The rules merged so far stay.
    }
    return merged;
}

bool CElement::ApplyCSS(const unsigned short*, bool)
{
    if (!m_tagName[0])
        return false;
    MergeMatchingRules(this);
    if (m_parent)
        CopyFromParent(m_parent, 4);
    SetAttrFromStyle();
    return true;
}

void CElement::GetCSSFromExtra(CPtrList* out, const unsigned short* tag, CMapStringToString* attributes)
{
    if (!out)
        return;
    STYLE_CLASS* lists[2];
    RuleLists(this, lists[0], lists[1]);
    for (STYLE_CLASS* list : lists) {
        for (STYLE_CLASS* rule = list; rule; rule = rule->next) {
            if (STYLE_SELECTOR* s = DoesStyleFit(nullptr, rule, 0, tag, attributes)) {
                rule->precedence = s->specificity;
                out->AddTail(rule);
            }
        }
    }
}
