// The empty text runs that make typing possible (ValidTextInput), and the
// load's pass that makes them and collapses white space in the same walk.

#include "element/TextRunPass.h"

#include "element/Element.h"
#include "element/ElementPrefetch.h"
#include "element/TreeQueries.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/MarkupWriter.h"

namespace {

const unsigned short kNoTag[] = {0};

// ValidTextInput around an element's children: what is done before them and
// what after, with the state handed between the two.
struct TextInputStep
{
    int incoming = 0;
    int local = 0;
    bool wasEmpty = false;
};

// Before the children; false for a text run, which needs nothing more.
bool StartTextInput(CElement* e, int& state, bool restyle, TextInputStep& step)
{
    step.incoming = state;
    step.local = state;
    const long k = e->m_kind;
    // Whether the element held nothing but empty runs before its children
    // were seen to: asked only of the kinds that read it below, since the
    // walk over the first children costs a visit to each.
    step.wasEmpty = (k == kKindCustom || k == kKindA || k == kKindBr || (e->m_inline && !e->IsTextElement()))
        && e->IsEmptyTag(false);
    auto textBeforeIfNeeded = [&]() {
        if (step.incoming == 2)
            e->InsertEmptyText(true, restyle);
    };
    if (k == kKindP) {
        step.local = 2;
    } else if (k == kKindBr || k == kKindImg) {
        textBeforeIfNeeded();
        step.local = 2;
    } else if (k == kKindCustom || k == kKindA) {
        if (step.wasEmpty) {
            textBeforeIfNeeded();
            step.local = 2;
        } else if (e->m_inline) {
            textBeforeIfNeeded();
            step.local = 1;
        }
    } else if (e->IsTextElement()) {
        state = 1;
        return false;
    } else if (e->m_inline) {
        textBeforeIfNeeded();
        step.local = 1;
    }
    return true;
}

// After the children.
void FinishTextInput(CElement* e, int& state, bool restyle, TextInputStep& step)
{
    const long k = e->m_kind;
    if (step.local == 2 && step.wasEmpty && (e->m_inline || k == kKindBr || k == kKindCustom)
        && e->IsLastElementInBlock(false, false)) {
        e->InsertEmptyText(false, restyle);
        state = 1;
        return;
    }
    if (e->m_block) {
        if (e->m_lastChild && e->m_lastChild->m_inline) {
            e->m_lastChild->InsertEmptyText(false, restyle);
        } else if (!e->m_firstChild && e->m_parent && !e->m_noChild && !IsVoidElement(e)) {
            if (CElement* run = CreateElement(kNoTag, e->m_rules, e->m_root, e->m_owner)) {
                e->AppendChild(run);
                if (restyle)
                    run->StyleChanged(2);
            }
        }
        step.local = 1;
    }
    state = step.local;
}

void TablesIn(CElement* top, const std::function<void(CElement*)>& onTable)
{
    for (CElement* e = top; e; e = NextInSubtree(e, top)) {
        if (e->m_kind == kKindTable)
            onTable(e);
    }
}

// state is ValidTextInput's, previous RemoveExtraSpace's. The two passes
// touch different things in the same order: the runs the first makes are
// empty, which the second passes over, and the second changes only text at
// and before the element the walk stands on, which the first has passed.
void RunsAndSpace(CElement* e, int& state, int& previous, const std::function<void(CElement*)>& onTable)
{
    if (e->m_kind == kKindTable && onTable)
        onTable(e);
    if (e->IsTextElement()) {
        state = 1;
        e->RemoveExtraSpace(previous);
        return;
    }
    if (SeparatesSpaceRuns(e)) {
        if (onTable)
            TablesIn(e, onTable);
        e->ValidTextInput(state, false);
        previous = 0;
        return;
    }
    TextInputStep step;
    StartTextInput(e, state, false, step);
    if (e->m_block)
        previous = 32;
    // The walk meets a freshly read tree long after the read: the next
    // elements' records are asked for while this one is worked on.
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        PrefetchElement(c->m_nextSibling);
        PrefetchElement(c->m_firstChild);
        RunsAndSpace(c, step.local, previous, onTable);
    }
    FinishTextInput(e, state, false, step);
    if (e->m_block)
        previous = 32;
}

} // namespace

void CElement::ValidTextInput(int& state, bool restyle)
{
    TextInputStep step;
    if (!StartTextInput(this, state, restyle, step))
        return;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        c->ValidTextInput(step.local, restyle);
    FinishTextInput(this, state, restyle, step);
}

void MakeRunsAndCollapseSpace(CElement* root, const std::function<void(CElement*)>& onTable)
{
    if (!root)
        return;
    int state = 2;
    int previous = 0;
    RunsAndSpace(root, state, previous, onTable);
}
