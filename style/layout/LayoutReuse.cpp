#include "style/layout/LayoutReuse.h"

#include "element/Element.h"
#include "element/TreeWalk.h"
#include "element/services/XHTMLServices.h"
#include "style/floats/FloatIndex.h"
#include "style/layout/LayoutBox.h"

#include <cstdint>

namespace {

unsigned long g_kept = 0;

// Kinds laid out from their own subtree alone. Tables size their columns
// by pass, images wait for their pictures, floats reach out of their block,
// a list item's number counts its earlier siblings; those are laid out.
bool SelfContainedKind(long kind)
{
    switch (kind) {
    case kKindA:
    case kKindSpan:
    case kKindText:
    case kKindBr:
    case kKindP:
    case kKindDiv:
    case kKindHr:
    case kKindCenter:
    case kKindUl:
    case kKindOl:
    case kKindLi:
    case kKindStrong:
    case kKindEm:
    case kKindB:
    case kKindI:
    case kKindSub:
    case kKindSup:
    case kKindAddress:
    case kKindBlockquote:
    case kKindDl:
    case kKindDd:
    case kKindDt:
    case kKindQ:
    case kKindComment:
    case kKindPre: return true;
    default: return IsHeadingKind(kind) || (kind >= kKindAbbr && kind <= kKindVar);
    }
}

struct SubtreeState
{
    std::uint32_t texts = 0;
    std::uint32_t elements = 0;
    bool selfContained = true;
    bool changed = false;
};

// One walk over the subtree in document order: the sum of the text change
// counts (each write adds to it), the element count, whether every element
// is of a self-contained kind and none floats or overrides the direction,
// and whether any carries a change mark. With clear, the marks are cleared
// (the subtree was just laid out whole).
SubtreeState Survey(CElement* top, bool clear)
{
    SubtreeState s;
    for (CElement* e = top; e; e = StepInSubtree(e, top)) {
        s.texts += e->m_text.Changes();
        ++s.elements;
        s.changed = s.changed || e->m_layoutChanges;
        if (clear)
            e->m_layoutChanges = 0;
        if (!SelfContainedKind(e->m_kind) || e->m_floating || e->m_dirOverride) {
            s.selfContained = false;
            if (!clear)
                break;
        }
    }
    return s;
}

// A child of a root body that lays out as a block of its own.
bool Candidate(const CElement* child)
{
    const CElement* parent = child->m_parent;
    if (!parent || parent->m_parent || parent->m_kind != kKindBody || child->m_kind == kKindLi
        || !child->m_block || child->m_tablePart || child->IsFloatType() || !StandsOnOwnLine(child))
        return false;
    // Right-to-left documents mirror and cut runs by direction: laid out.
    return !(parent->m_owner && parent->m_owner->m_doc.m_rightToLeft);
}

} // namespace

bool KeepsLastLayout(CElement* child, const CRect& availBefore, const CRect& containerBefore)
{
    if (!child->HasLayout() || !child->LayOrDefault().m_reusable
        || (child->m_parent->m_layoutChanges & CElementFields::kLayoutChangedSelf) || !FloatIndexCovers()
        || !Candidate(child))
        return false;
    const CElementLayout& lay = child->LayOrDefault();
    if (lay.m_availRect != availBefore || lay.m_containerRect != containerBefore)
        return false;
    const SubtreeState s = Survey(child, false);
    if (s.changed || !s.selfContained || s.texts != lay.m_reuseTexts || s.elements != lay.m_reuseElements
        || PlacedFloatsMeet(child))
        return false;
    ++g_kept;
    return true;
}

void NoteLaidOut(CElement* child)
{
    if (!Candidate(child)) {
        if (child->HasLayout())
            child->Lay().m_reusable = 0;
        return;
    }
    CElementLayout& lay = child->Lay();
    const SubtreeState s = Survey(child, true);
    lay.m_reuseTexts = s.texts;
    lay.m_reuseElements = s.elements;
    lay.m_reusable = FloatIndexCovers() && s.selfContained && !PlacedFloatsMeet(child) ? 1 : 0;
}

void ForgetKeptLayouts(CElement* root)
{
    for (CElement* e = root; e; e = StepInSubtree(e, root))
        e->m_layoutChanges = CElementFields::kLayoutChangedSelf | CElementFields::kLayoutChangedChildren;
}

unsigned long KeptLayoutCount() { return g_kept; }
